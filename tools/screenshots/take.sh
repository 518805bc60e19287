#!/usr/bin/env bash
# Screenshots of the skinned tip dialogs over the main background window,
# taken on the test harness's Xvfb display with a compositor running (as a
# person sees them), at 96 and at 120 dpi.
#
#   tools/screenshots/take.sh BUILD_DIR [OUT_DIR]
#
# OUT_DIR (default BUILD_DIR/screenshots) receives tip-notice.png,
# tip-question.png and tip-retry.png, and the same at 120 dpi as
# tip-notice-120dpi.png and so on, cropped to the main background window.
# The prefix's DPI is set back as it was at the end; do not run the tests of
# BUILD_DIR meanwhile. A compositor that this script started is stopped at
# the end; one that already ran is left running.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: take.sh BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
exe="$build/bin/tip_showcase.exe"
[[ -f "$exe" ]] || { echo "take.sh: $exe not built (cmake --build $build --target tip_showcase)" >&2; exit 2; }

"$here/../wine/harness.sh" start "$build" >/dev/null
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export DISPLAY
DISPLAY=$(cat "$build/wine/display")

own_compositor=0
if ! { [[ -f "$build/wine/xcompmgr.pid" ]] && kill -0 "$(cat "$build/wine/xcompmgr.pid")" 2>/dev/null; }; then
    own_compositor=1
fi
"$here/compositor.sh" start "$build"

previous_dpi=$(wine reg query 'HKCU\Control Panel\Desktop' /v LogPixels 2>/dev/null </dev/null |
    tr -d '\r' | awk '/LogPixels/ { print $3 }' || true)
work=$(mktemp -d)
cleanup() {
    if [[ -n "$previous_dpi" ]]; then
        "$here/dpi.sh" "$build" $((previous_dpi))
    else
        "$here/dpi.sh" "$build" default
    fi
    if ((own_compositor)); then
        "$here/compositor.sh" stop "$build"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

for dpi in 96 120; do
    "$here/dpi.sh" "$build" "$dpi"
    suffix=""
    ((dpi == 96)) || suffix="-${dpi}dpi"
    for kind in notice question retry; do
        rm -f "$work/ready" "$work/done"
        wine "$exe" "$kind" "$(winepath -w "$work/ready")" "$(winepath -w "$work/done")" >/dev/null 2>&1 </dev/null &
        pid=$!
        for _ in $(seq 1 300); do
            [[ -s "$work/ready" ]] && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        [[ -s "$work/ready" ]] || { echo "take.sh: the $kind dialog did not come up at $dpi dpi" >&2; exit 1; }
        read -r left top width height < <(tr -d '\r' <"$work/ready")
        # The compositor draws the last changes within a moment.
        sleep 0.5
        import -window root -crop "$((width + 20))x$((height + 20))+$((left - 10))+$((top - 10))" +repage \
            "$out/tip-$kind$suffix.png"
        touch "$work/done"
        wait "$pid" || true
        echo "take.sh: $out/tip-$kind$suffix.png"
    done
done
