#!/usr/bin/env bash
# Renders the application icon from its source drawing:
#   resources/art/app-icon.svg -> resources/art/app-icon.ico (16, 32, 48, 256)
# Needs ImageMagick's convert and zopflipng (the frames are stored as PNG,
# losslessly recompressed: pngtools.py). The .ico is committed, so a build
# never needs this script; run it after editing the drawing and commit both
# files.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

frames=()
for size in 16 32 48 256; do
    # Each size is rasterised from the drawing itself rather than scaled down
    # from the largest frame, so small sizes keep their edges on whole pixels.
    convert -background none -density $((96 * size / 256)) "$here/app-icon.svg" \
        -resize "${size}x${size}!" -depth 8 "PNG32:$work/$size.png"
    frames+=("$work/$size.png")
done
/usr/bin/python3 "$here/pngtools.py" icon "$here/app-icon.ico" "${frames[@]}"
echo "render.sh: wrote $here/app-icon.ico"
