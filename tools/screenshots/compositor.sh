#!/usr/bin/env bash
# A compositing manager on the Wine harness's display of one build folder.
#
#   tools/screenshots/compositor.sh start BUILD_DIR   start `xcompmgr -c` there (or keep the running one)
#   tools/screenshots/compositor.sh stop  BUILD_DIR   stop the one this script started, nothing else
#
# Xvfb composes nothing: the alpha of a layered window (the soft shadows of
# the background pictures) would show as dark pixels. With a compositor the
# display blends every window with what lies behind it, as Windows always
# does, so screenshots show what a person sees. Its process id is kept in
# BUILD_DIR/wine/xcompmgr.pid; it ends by itself when the display stops.
set -euo pipefail
cmd=${1:?usage: compositor.sh start|stop BUILD_DIR}
build=$(cd "${2:?usage: compositor.sh start|stop BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
pidfile="$build/wine/xcompmgr.pid"

alive() {
    [[ -f "$pidfile" ]] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}

case "$cmd" in
start)
    command -v xcompmgr >/dev/null || { echo "compositor.sh: xcompmgr is missing (scripts/install-deps.sh)" >&2; exit 2; }
    "$here/../wine/harness.sh" start "$build" >/dev/null
    if alive; then
        exit 0
    fi
    DISPLAY=$(cat "$build/wine/display") setsid xcompmgr -c >"$build/wine/xcompmgr.log" 2>&1 </dev/null &
    echo $! >"$pidfile"
    # It takes over the display within a moment, or ends at once (another
    # compositor already runs there: then that one composes, which is fine).
    sleep 1
    if ! alive; then
        rm -f "$pidfile"
        grep -q "already running" "$build/wine/xcompmgr.log" 2>/dev/null ||
            { echo "compositor.sh: xcompmgr did not start: $(cat "$build/wine/xcompmgr.log")" >&2; exit 1; }
    fi
    ;;
stop)
    if alive; then
        kill "$(cat "$pidfile")" 2>/dev/null || true
    fi
    rm -f "$pidfile"
    ;;
*)
    echo "usage: compositor.sh start|stop BUILD_DIR" >&2
    exit 2
    ;;
esac
