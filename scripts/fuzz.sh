#!/usr/bin/env bash
# Fuzzes every parser of outside input for as long as asked:
#
#   scripts/fuzz.sh [SECONDS]      (default 60 seconds per target)
#
# Each libFuzzer target (fuzz/, Linux, with the address and undefined-
# behaviour sanitizers) runs SECONDS on its committed corpus and what it
# grows from it; then the Setup.ini mutation loop runs SECONDS under Wine
# (the profile functions' own parsing). Prints, per target, the inputs tried
# and the crashes found; a crashing input is kept under build/fuzz/fuzz-work/
# (libFuzzer) or build/win64/bin/ (Wine) to become a test case. Exits 1 when
# anything crashed.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[[ "$seconds" =~ ^[0-9]+$ && "$seconds" -gt 0 ]] || { echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2; }

scripts/install-deps.sh >/dev/null || exit 1
{ cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null; } || { echo "fuzz: build failed" >&2; exit 1; }

status=0
report=()
for binary in build/fuzz/fuzz/fuzz_*; do
    name=${binary##*/fuzz_}
    line=$(fuzz/run-target.sh "$binary" "fuzz/corpus/$name" "build/fuzz/fuzz-work/$name" "$seconds") || status=1
    echo "$line"
    report+=("$(head -1 <<<"$line")")
done

# The mutation loop needs the Windows build and its Wine harness.
{ cmake --preset win64 >/dev/null && cmake --build --preset win64 --target config_tests >/dev/null; } ||
    { echo "fuzz: Windows build failed" >&2; exit 1; }
build=build/win64
started=0
if [[ ! -f "$build/wine/xvfb.pid" ]] || ! kill -0 "$(cat "$build/wine/xvfb.pid")" 2>/dev/null; then
    tools/wine/harness.sh start "$build" >/dev/null && started=1
fi
output=$(KORV_MUTATION_SECONDS=$seconds KORV_MUTATION_SEED=$(date +%s) \
    timeout $((seconds + 120)) tools/wine/run.sh "$build" "$build/bin/config_tests.exe" \
    --gtest_filter='SetupIniMutation.*' 2>&1)
loop_status=$?
tried=$(sed -n 's/^SetupIniMutation: \([0-9]*\) inputs tried.*/\1/p' <<<"$output" | tr -d '\r')
crashes=$((loop_status == 0 ? 0 : 1))
line="SetupIniMutation (Wine): ${tried:-0} inputs tried in ${seconds} s, $crashes crash(es) found"
echo "$line"
report+=("$line")
if ((loop_status != 0)); then
    status=1
    grep -E 'Failure|kept in|Which is|Expected' <<<"$output" | head -20
fi
((started)) && tools/wine/harness.sh stop "$build" >/dev/null

echo
echo "fuzz summary ($seconds s per target):"
printf '  %s\n' "${report[@]}"
exit "$status"
