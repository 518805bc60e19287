#!/usr/bin/env bash
# Runs one fuzz target: first every input of its committed corpus, then
# mutations of them for the given number of seconds. Prints the inputs
# tried and the crashes found; exits non-zero when the target crashed or
# broke one of its checks (the crashing input is kept in WORK_DIR/crashes/).
#
#   run-target.sh TARGET_BINARY CORPUS_DIR WORK_DIR SECONDS
#
# New inputs the mutations find go to WORK_DIR/corpus, never into the
# committed corpus.
set -uo pipefail
binary=${1:?usage: run-target.sh TARGET_BINARY CORPUS_DIR WORK_DIR SECONDS}
corpus=${2:?}
work=${3:?}
seconds=${4:?}
name=$(basename "$binary")
mkdir -p "$work/corpus" "$work/crashes" "$corpus"
rm -f "$work/crashes"/*

"$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$work/crashes/" "$work/corpus" "$corpus" >"$work/log.txt" 2>&1
status=$?

tried=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log.txt" | tail -1)
crashes=$(find "$work/crashes" -type f | wc -l)
echo "$name: ${tried:-0} inputs tried in ${seconds} s, $crashes crash(es) found"
if ((status != 0 || crashes > 0)); then
    sed -n '/ERROR: \|==ERROR\|runtime error\|check failed/,+25p' "$work/log.txt" | head -60
    find "$work/crashes" -type f -printf '  crashing input: %p\n'
    exit 1
fi
