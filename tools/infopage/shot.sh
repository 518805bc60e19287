#!/usr/bin/env bash
# A screenshot of the information page as it comes up after an installation:
# starts the stand-in advertisement service, runs info_page.exe against it on
# the test harness's Xvfb display and takes the picture with ImageMagick.
#
#   tools/infopage/shot.sh BUILD_DIR [OUT_FILE]
#
# OUT_FILE defaults to BUILD_DIR/screenshots/info-page.png. The Wine of the
# test prefix has no HTML engine (Gecko), so the browser area stays empty.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: shot.sh BUILD_DIR [OUT_FILE]}" && pwd)
out=${2:-$build/screenshots/info-page.png}
mkdir -p "$(dirname "$out")"
exe="$build/bin/info_page.exe"
[[ -f "$exe" ]] || { echo "shot.sh: $exe not built (cmake --build $build --target info_page)" >&2; exit 2; }

"$here/../wine/harness.sh" start "$build" >/dev/null
state="$build/adservice-shot"
/usr/bin/python3 "$here/../adservice/adservice.py" start "$state" >/dev/null
trap '/usr/bin/python3 "$here/../adservice/adservice.py" stop "$state" >/dev/null; rm -rf "$work"' EXIT
port=$(/usr/bin/python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["http"])' "$state/ports.json")

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY
DISPLAY=$(cat "$build/wine/display")
work=$(mktemp -d)
wine "$exe" --server "http://127.0.0.1:$port" --ready "$(winepath -w "$work/ready")" \
    --done "$(winepath -w "$work/done")" </dev/null &
pid=$!
for _ in $(seq 1 300); do
    [[ -e "$work/ready" ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
[[ -e "$work/ready" ]] || { echo "shot.sh: the information page did not come up" >&2; exit 1; }
sleep 0.2  # the ready file is written in one piece, but give it time to land
read -r x y w h <"$work/ready"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
touch "$work/done"
wait "$pid" || true
echo "shot.sh: $out"
