#!/usr/bin/env bash
# Screenshots of every wizard page as a person sees them: the UI-driven
# wizard run (tests/e2e/wizard_test.sh: installation, information page,
# repair, modify, uninstall) on the harness display of a build folder with a
# compositor running, at 96 and at 120 dpi, each picture cropped to the main
# background window around the page.
#
#   tools/screenshots/pages.sh BUILD_DIR [OUT_DIR]
#
# OUT_DIR (default BUILD_DIR/screenshots) receives welcome.png,
# copy-progress.png, ... and the same at 120 dpi as welcome-120dpi.png and
# so on. Needs the stand-in advertisement service, which this script starts
# and stops. The prefix's DPI is set back at the end; do not run the tests of
# BUILD_DIR meanwhile.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: pages.sh BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)

"$src/tools/wine/harness.sh" start "$build" >/dev/null
service="$build/adservice-pages"
/usr/bin/python3 "$src/tools/adservice/adservice.py" start "$service" >/dev/null
own_compositor=0
if ! { [[ -f "$build/wine/xcompmgr.pid" ]] && kill -0 "$(cat "$build/wine/xcompmgr.pid")" 2>/dev/null; }; then
    own_compositor=1
fi
"$here/compositor.sh" start "$build"
work=$(mktemp -d)
cleanup() {
    "$here/dpi.sh" "$build" default
    ((own_compositor)) && "$here/compositor.sh" stop "$build"
    /usr/bin/python3 "$src/tools/adservice/adservice.py" stop "$service" >/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

status=0
for dpi in 96 120; do
    "$here/dpi.sh" "$build" "$dpi"
    suffix=""
    ((dpi == 96)) || suffix="-${dpi}dpi"
    if ! KORV_ADSERVICE="$service" "$src/tests/e2e/wizard_test.sh" "$src" "$build" "$work/$dpi" >"$work/run-$dpi.txt" 2>&1; then
        echo "pages.sh: the wizard run at $dpi dpi had failures:" >&2
        grep '^FAIL' "$work/run-$dpi.txt" >&2 || tail -20 "$work/run-$dpi.txt" >&2
        status=1
    fi
    for shot in "$work/$dpi"/*.png; do
        [[ -f "$shot" ]] || continue
        name=$(basename "$shot" .png)
        cp "$shot" "$out/$name$suffix.png"
        echo "pages.sh: $out/$name$suffix.png"
    done
done
exit "$status"
