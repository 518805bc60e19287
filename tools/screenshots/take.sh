#!/usr/bin/env bash
# Screenshots of the skinned tip dialogs over the main background window,
# taken on the test harness's Xvfb display with ImageMagick.
#
#   tools/screenshots/take.sh BUILD_DIR [OUT_DIR]
#
# OUT_DIR (default BUILD_DIR/screenshots) receives tip-notice.png,
# tip-question.png and tip-retry.png, cropped to the windows.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: take.sh BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$build/screenshots}
mkdir -p "$out"
exe="$build/bin/tip_showcase.exe"
[[ -f "$exe" ]] || { echo "take.sh: $exe not built (cmake --build $build --target tip_showcase)" >&2; exit 2; }

"$here/../wine/harness.sh" start "$build" >/dev/null
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY
DISPLAY=$(cat "$build/wine/display")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for kind in notice question retry; do
    rm -f "$work/ready" "$work/done"
    wine "$exe" "$kind" "$(winepath -w "$work/ready")" "$(winepath -w "$work/done")" >/dev/null 2>&1 </dev/null &
    pid=$!
    for _ in $(seq 1 300); do
        [[ -e "$work/ready" ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    [[ -e "$work/ready" ]] || { echo "take.sh: the $kind dialog did not come up" >&2; exit 1; }
    # The main background window (748 x 530) is centred on the 1280 x 1024 screen.
    import -window root -crop 768x550+256+237 +repage "$out/tip-$kind.png"
    touch "$work/done"
    wait "$pid" || true
    echo "take.sh: $out/tip-$kind.png"
done
