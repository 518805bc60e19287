#!/usr/bin/env bash
# The logical DPI of a build folder's Wine prefix (the "LogPixels" value of
# HKCU\Control Panel\Desktop, which Wine reads when a process starts).
#
#   tools/screenshots/dpi.sh BUILD_DIR          print it (96 when not set)
#   tools/screenshots/dpi.sh BUILD_DIR 120      set it for processes started from now on
#   tools/screenshots/dpi.sh BUILD_DIR default  remove it again (96)
#
# Tests of that build folder expect 96: set it back before running them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: dpi.sh BUILD_DIR [DPI|default]}" && pwd)
"$here/../wine/harness.sh" start "$build" >/dev/null
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
key='HKCU\Control Panel\Desktop'
case "${2:-}" in
"")
    value=$(wine reg query "$key" /v LogPixels 2>/dev/null </dev/null | tr -d '\r' | awk '/LogPixels/ { print $3 }' || true)
    if [[ -n "$value" ]]; then echo $((value)); else echo 96; fi
    ;;
default)
    wine reg delete "$key" /v LogPixels /f >/dev/null 2>&1 </dev/null || true
    ;;
*[!0-9]*)
    echo "dpi.sh: \"$2\" is not a number of pixels per inch" >&2
    exit 2
    ;;
*)
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1 </dev/null
    ;;
esac
