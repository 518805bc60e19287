#!/usr/bin/env bash
# Starts or stops the Wine environment the tests run in.
#
#   harness.sh start BUILD_DIR   boot (or reuse) BUILD_DIR/wineprefix, start an Xvfb
#                                display and a persistent wineserver for it
#   harness.sh stop  BUILD_DIR   stop that wineserver and that Xvfb, nothing else
#
# Every daemon is started with its standard streams on /dev/null and in a
# session of its own: a Wine service or desktop process that inherits ctest's
# pipes keeps ctest waiting forever.
set -euo pipefail

cmd=${1:?usage: harness.sh start|stop BUILD_DIR}
build=$(cd "${2:?usage: harness.sh start|stop BUILD_DIR}" && pwd)
state="$build/wine"
mkdir -p "$state"

export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
# No Mono/Gecko download prompts; no menu entries written into the Linux
# user's desktop for every shortcut the tests create.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

xvfb_alive() {
    [[ -f "$state/xvfb.pid" ]] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

free_display() {
    local n
    for n in $(seq 90 250); do
        if [[ ! -e "/tmp/.X11-unix/X$n" && ! -e "/tmp/.X$n-lock" ]]; then
            echo "$n"; return 0
        fi
    done
    return 1
}

start() {
    if ! xvfb_alive; then
        local n
        n=$(free_display) || { echo "harness: no free X display number" >&2; exit 1; }
        setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
        echo $! >"$state/xvfb.pid"
        echo ":$n" >"$state/display"
        local i
        for i in $(seq 1 100); do
            [[ -e "/tmp/.X11-unix/X$n" ]] && break
            sleep 0.1
        done
        [[ -e "/tmp/.X11-unix/X$n" ]] || { echo "harness: Xvfb :$n did not start" >&2; exit 1; }
    fi
    export DISPLAY
    DISPLAY=$(cat "$state/display")

    # A persistent server keeps the prefix warm between test processes; with
    # DISPLAY set, wineboot also starts the desktop process here, detached.
    setsid wineserver -p >/dev/null 2>&1 </dev/null || true
    local t0=$SECONDS
    wine wineboot >/dev/null 2>&1 </dev/null
    # No window manager runs on this display: Wine would wait 2 s for one
    # each time a captioned or activated window is hidden or destroyed (every
    # dialog that closes). Unmanaged windows skip that wait.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
    pin_desktop
    echo "harness: Wine prefix $WINEPREFIX ready on display $DISPLAY ($((SECONDS - t0)) s)"
}

# wineserver closes the default desktop one second after its last program
# ends, and a program that starts in that second loses its windows or dies
# at once. The pin (tools/desktop-pin) holds a hidden window there until the
# wineserver stops, so every test program finds a desktop that stays.
pin_desktop() {
    local pin="$build/bin/desktop-pin.exe"
    if [[ -f "$state/pin.pid" ]] && kill -0 "$(cat "$state/pin.pid")" 2>/dev/null; then
        return 0
    fi
    if [[ ! -f "$pin" ]]; then
        echo "harness: $pin is not built; the desktop may close between test programs" >&2
        return 0
    fi
    rm -f "$state/pin.ready"
    setsid wine "$pin" "Z:${state//\//\\}\\pin.ready" >/dev/null 2>&1 </dev/null &
    echo $! >"$state/pin.pid"
    local i
    for i in $(seq 1 100); do
        [[ -f "$state/pin.ready" ]] && return 0
        sleep 0.1
    done
    echo "harness: the desktop pin did not start" >&2
    return 1
}

stop() {
    wineserver -k >/dev/null 2>&1 </dev/null || true
    if xvfb_alive; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    fi
    rm -f "$state/xvfb.pid" "$state/display" "$state/pin.pid" "$state/pin.ready"
    echo "harness: stopped the wineserver of $WINEPREFIX"
}

case "$cmd" in
    start) start ;;
    stop) stop ;;
    *) echo "usage: harness.sh start|stop BUILD_DIR" >&2; exit 2 ;;
esac
