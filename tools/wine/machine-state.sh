#!/usr/bin/env bash
# Registers in a build's Wine prefix the machine state that Setup.exe needs
# to pass its start-up checks, as a real Windows machine would have it:
# a .NET Framework 4.8 (a fresh prefix has none), in the registry view a
# 32-bit process sees. Safe to run again.
#
#   machine-state.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: machine-state.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
"$here/run.sh" "$build" reg add \
    'HKLM\SOFTWARE\Wow6432Node\Microsoft\NET Framework Setup\NDP\v4\Full' \
    /v Version /t REG_SZ /d 4.8.04084 /f >/dev/null 2>&1
