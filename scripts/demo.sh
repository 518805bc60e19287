#!/usr/bin/env bash
# The program's main job on the built-in demo medium: installs what is
# missing, builds, lays out a medium in build/demo-medium and starts Setup.exe
# from it under Wine (in the test prefix of build/win64).
#
#   bash scripts/demo.sh [key=value words for Setup.exe ...]
#
# The windows appear on the harness's own Xvfb display (its number is in
# build/win64/wine/display; watch it live with x11vnc); a screenshot taken
# while the program runs is left in build/demo-shot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/build/win64"
medium="$root/build/demo-medium"

scripts/install-deps.sh
KORV_PRESETS=win64 scripts/build.sh >/dev/null
tools/medium/make-medium.sh "$medium" "$build" --replace >/dev/null
echo "demo: medium laid out in $medium"

tools/wine/harness.sh start "$build"
tools/wine/machine-state.sh "$build"

echo "demo: starting Setup.exe $*"
set +e
tools/wine/run.sh "$build" "$build/bin/wine-launch.exe" "Z:${medium//\//\\}\\Setup.exe" "$@" &
pid=$!
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    display=$(cat "$build/wine/display")
    DISPLAY=$display import -window root "$root/build/demo-shot.png" 2>/dev/null &&
        echo "demo: screenshot of the running program in build/demo-shot.png"
    echo "demo: Setup.exe is waiting for the user on display $display;" \
        "answer it through 'x11vnc -display $display' or stop the demo with Ctrl-C"
fi
wait "$pid"
code=$?
set -e
echo "demo: Setup.exe ended (launcher exit status $code; the full exit code is printed above)"
