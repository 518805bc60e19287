#!/usr/bin/env bash
# Reads every shortcut that the LnkExport test left in EXPORT_DIR with
# lnkinfo (Debian liblnk-utils) and compares its target, working directory
# and arguments with the test's manifest (file TAB target TAB working
# directory TAB arguments, UTF-8).
#
#   check_lnkinfo.sh EXPORT_DIR
set -euo pipefail
dir=${1:?usage: check_lnkinfo.sh EXPORT_DIR}
manifest="$dir/manifest.tsv"

command -v lnkinfo >/dev/null || { echo "lnkinfo not found (Debian package liblnk-utils)" >&2; exit 2; }
[[ -s "$manifest" ]] || { echo "no manifest in $dir: the LnkExport test did not run" >&2; exit 2; }

# The value of one "<tab>Name<blanks>: value" line of lnkinfo's report; empty
# when the line is missing (lnkinfo leaves out absent strings).
field() {
    local name=$1 report=$2
    sed -nE "s/^[[:space:]]+${name}[[:space:]]*: ?(.*)\$/\\1/p" <<<"$report" | head -n 1
}

failures=0
listed=0
while IFS=$'\t' read -r file target workdir arguments; do
    [[ -n "$file" ]] || continue
    listed=$((listed + 1))
    # Wine writes the target's code-page path in the Windows-1252 code page.
    if ! report=$(lnkinfo -c windows-1252 "$dir/$file" 2>&1); then
        echo "$file: lnkinfo cannot read it: $report" >&2
        failures=$((failures + 1))
        continue
    fi
    for check in "Local path|$target" "Working directory|$workdir" "Command line arguments|$arguments"; do
        name=${check%%|*}
        expected=${check#*|}
        actual=$(field "$name" "$report")
        if [[ "$actual" != "$expected" ]]; then
            echo "$file: $name is '$actual', expected '$expected'" >&2
            failures=$((failures + 1))
        fi
    done
done <"$manifest"

shopt -s nullglob
links=("$dir"/*.lnk)
if [[ ${#links[@]} -ne $listed ]]; then
    echo "$dir holds ${#links[@]} shortcuts, the manifest lists $listed" >&2
    failures=$((failures + 1))
fi
if [[ $failures -ne 0 ]]; then
    exit 1
fi
echo "lnkinfo read $listed shortcuts as expected"
