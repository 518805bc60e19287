#!/usr/bin/env bash
# One screenshot of the Wine harness's display of a build folder, composed
# as a person sees it (a compositor is started there first when none runs).
#
#   tools/screenshots/shot.sh BUILD_DIR OUT.png [WINDOW_TITLE [MARGIN]]
#
# Without a title: the whole screen. With one: the rectangle of the largest
# shown window of that title (for the wizard, "Korvanix 2024" is the main
# background window around the page), MARGIN pixels wider on every side
# (default 10), with everything that lies on it. Exit code 1 when no such
# window is shown.
#
# Start the compositor before the program whose windows you take
# (tools/screenshots/compositor.sh start BUILD_DIR): xcompmgr does not
# compose windows that were already shown when it started quite right (it
# shows its grey root beside some of them). This script starts one when none
# runs, and then says so.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
usage="usage: shot.sh BUILD_DIR OUT.png [WINDOW_TITLE [MARGIN]]"
build=$(cd "${1:?$usage}" && pwd)
out=${2:?$usage}
title=${3:-}
margin=${4:-10}

pidfile="$build/wine/xcompmgr.pid"
if ! { [[ -f "$pidfile" ]] && kill -0 "$(cat "$pidfile")" 2>/dev/null; }; then
    echo "shot.sh: no compositor ran on this display: started one now; windows shown before it may look wrong" >&2
fi
"$here/compositor.sh" start "$build"
export DISPLAY
DISPLAY=$(cat "$build/wine/display")
# Let the compositor draw what changed last.
sleep 0.3

if [[ -z "$title" ]]; then
    import -window root "$out"
    exit 0
fi

# Shown windows of that title with their size and place: "id w h x y".
best=""
best_area=0
while read -r id geometry; do
    xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" || continue
    if [[ $geometry =~ ^([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+)$ ]]; then
        w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
        if ((w * h > best_area)); then
            best_area=$((w * h))
            best="$w $h $x $y"
        fi
    fi
done < <(xwininfo -root -tree | awk -v t="\"$title\":" 'index($0, t) { print $1, $(NF - 1) }')
if [[ -z "$best" ]]; then
    echo "shot.sh: no window \"$title\" is shown on $DISPLAY" >&2
    exit 1
fi
read -r w h x y <<<"$best"
x=$((x - margin)); y=$((y - margin)); w=$((w + 2 * margin)); h=$((h + 2 * margin))
((x < 0)) && { w=$((w + x)); x=0; }
((y < 0)) && { h=$((h + y)); y=0; }
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
