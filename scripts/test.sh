#!/usr/bin/env bash
# The test command: installs what is missing, builds both editions and the
# fuzz targets, runs each fuzz target briefly on its committed corpus (on
# Linux), then every test under Wine, whose summary comes last. Extra
# arguments go to both ctest runs (for example -R LocalText).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
status=0
ctest --preset fuzz -j2 "$@" || status=$?
ctest --preset win64 -j2 "$@" || status=$?
exit "$status"
