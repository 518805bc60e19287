#!/usr/bin/env bash
# The program's main job on the built-in demo medium: installs what is
# missing, builds, lays out a medium in build/demo-medium and runs Setup.exe
# from it under Wine (in the test prefix of build/win64), then prints what the
# run did: the programs it started (the demo medium's packages are stand-ins
# that journal their command line), the installation folder, the setup
# registry record and install.log.
#
#   bash scripts/demo.sh                        unattended install into C:\Korvanix Demo
#   bash scripts/demo.sh quiet=1 Uninstall=1 'TARGETDIR="C:\Korvanix Demo\"'
#                                               unattended uninstall of that copy
#   bash scripts/demo.sh quiet=0                the interactive wizard (the maintenance
#                                               pages once the product is installed)
#   bash scripts/demo.sh --installed            the installed copy's own Setup.exe, as the
#                                               Windows list of programs starts it (uninstall)
#   bash scripts/demo.sh [key=value words for Setup.exe ...]
#
# Windows appear on the harness's own Xvfb display (its number is in
# <build>/wine/display; watch it live with x11vnc); a screenshot taken
# while the program waits for the user is left in build/demo-shot.png.
#
# KORV_DEMO_BUILD=FOLDER runs the program of an existing build folder (built
# with tests, for the stand-in packages) instead of installing and building.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/${KORV_DEMO_BUILD:-build/win64}"
medium="$root/build/demo-medium"
journal="$root/build/demo-journal.txt"

installed=0
if [[ "${1:-}" == --installed ]]; then
    installed=1
    shift
elif [[ $# -eq 0 ]]; then
    set -- quiet=1 'TARGETDIR="C:\Korvanix Demo"'
fi

if [[ -z "${KORV_DEMO_BUILD:-}" ]]; then
    scripts/install-deps.sh
    KORV_PRESETS=win64 scripts/build.sh >/dev/null
fi
tools/medium/make-medium.sh "$medium" "$build" --replace --sign keys/demo-medium-signing.pem >/dev/null
echo "demo: medium laid out and signed with the demo key in $medium"

tools/wine/harness.sh start "$build"
tools/wine/machine-state.sh "$build"
wine() { tools/wine/run.sh "$build" "$@" 2>/dev/null | tr -d '\r'; }

# The folder the words name (TARGETDIR without its quotes and trailing
# backslashes), and whether they ask for an uninstall.
target_win=
uninstall=0
for word in "$@"; do
    case "$word" in
        TARGETDIR=*) target_win=${word#TARGETDIR=}; target_win=${target_win//\"/}
                     while [[ "$target_win" == *\\ ]]; do target_win=${target_win%\\}; done ;;
        Uninstall=1) uninstall=1 ;;
    esac
done
target_unix=
if [[ -n "$target_win" ]]; then
    target_unix=$(wine winepath -u "$target_win")
    # The demo packages are stand-ins that install nothing: the folder the
    # product packages would create is made here.
    [[ $uninstall == 1 ]] || mkdir -p "$target_unix"
fi

setup_record='HKLM\SOFTWARE\Wow6432Node\Tallowick\Korvanix\Korvanix_Setup'
program="Z:${medium//\//\\}\\Setup.exe"
if [[ $installed == 1 ]]; then
    installed_folder=$(wine reg query "$setup_record" /v path | sed -n 's/^ *path *REG_SZ *//p' || true)
    [[ -n "$installed_folder" ]] || { echo "demo: no installed copy (the setup record names no folder)" >&2; exit 1; }
    program="$installed_folder\\Setup.exe"
    target_win=$installed_folder
    target_unix=$(wine winepath -u "$target_win")
    uninstall=1
fi

rm -f "$journal"
export KORV_JOURNAL="Z:${journal//\//\\}"
echo "demo: starting $program $*"
set +e
tools/wine/run.sh "$build" "$build/bin/wine-launch.exe" "$program" "$@" &
pid=$!
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    display=$(cat "$build/wine/display")
    DISPLAY=$display import -window root "$root/build/demo-shot.png" 2>/dev/null &&
        echo "demo: screenshot of the running program in build/demo-shot.png"
    echo "demo: Setup.exe may be waiting for the user on display $display;" \
        "answer it through 'x11vnc -display $display' or stop the demo with Ctrl-C"
fi
wait "$pid"
code=$?
set -e
echo "demo: Setup.exe ended (launcher exit status $code; the full exit code is printed above)"

# KUninstall is handed over and not waited for: give it a moment to start.
if [[ $uninstall == 1 ]]; then
    for _ in $(seq 1 50); do
        grep -q '^KUninstall.exe' "$journal" 2>/dev/null && break
        sleep 0.1
    done
fi

echo
echo "== programs started (name, command line) =="
if [[ -s "$journal" ]]; then tr -d '\r' <"$journal" | sed 's/^/  /'; else echo "  (none)"; fi
if [[ -n "$target_unix" && -d "$target_unix" ]]; then
    echo
    echo "== $target_win =="
    (cd "$target_unix" && find . -type f | sort | sed 's|^\./|  |')
fi
if [[ -n "$target_unix" && -f "$target_unix/install.log" ]]; then
    echo
    echo "== $target_win\\install.log =="
    { tr -d '\r' <"$target_unix/install.log"; echo; } | sed '/^$/d; s/^/  /'
fi
echo
echo "== setup registry record =="
record=$(wine reg query "$setup_record" || true)
if [[ -n "$record" ]]; then sed '/^$/d; s/^/  /' <<<"$record"; else echo "  (none)"; fi
handover=$(sed -n 's/^KUninstall.exe\t"\(.*\)\\KUninstall.exe".*/\1/p' "$journal" 2>/dev/null | tr -d '\r' || true)
if [[ -n "$handover" ]]; then
    echo
    echo "== KUninstall's own folder $handover =="
    (cd "$(wine winepath -u "$handover")" && ls -1 | sed 's/^/  /')
fi
