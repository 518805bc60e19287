#!/usr/bin/env bash
# Runs a Windows program in the test prefix of a build folder; ctest uses this
# as the cross-compiling emulator:  run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# The harness (harness.sh start) must have booted the prefix first.
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD_DIR PROGRAM [ARGS...]}" && pwd)
shift
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [[ -f "$build/wine/display" ]]; then
    DISPLAY=$(cat "$build/wine/display")
    export DISPLAY
fi
exec wine "$@"
