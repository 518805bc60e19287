#!/usr/bin/env bash
# The test command: installs what is missing, builds both editions and runs
# every test under Wine. Extra arguments go to ctest (for example -R LocalText).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --preset win64 -j2 "$@"
