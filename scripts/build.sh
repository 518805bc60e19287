#!/usr/bin/env bash
# Configures and builds both editions, win64 (tested) and win32 (built only),
# and the fuzz targets for Linux (fuzz).
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in ${KORV_PRESETS:-win64 win32 fuzz}; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
