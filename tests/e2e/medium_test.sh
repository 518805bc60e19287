#!/usr/bin/env bash
# The signed medium, out of process: a medium signed with the demo key
# installs as before; a changed, missing or unlisted package, a manifest
# edited after signing and another key's signature each end the run with
# 1603 before any program starts or the setup record is written, and the
# log names the file and both hashes; an unsigned medium installs (logged as
# unsigned). That verified files are held against writing is tested in
# config_tests (MediumVerification), where the open can be judged.
#
#   medium_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$(cd "$2" && pwd)
work="$build/e2e/medium"
prefix="$build/wineprefix"
rm -rf "$work"
mkdir -p "$work"
"$src/tools/wine/machine-state.sh" "$build"
signed="$work/signed"
"$src/tools/medium/make-medium.sh" "$signed" "$build" --sign "$src/keys/demo-medium-signing.pem" >/dev/null

target_win='C:\Program Files\Korvanix'
target_unix="$prefix/drive_c/Program Files/Korvanix"
setup_record='HKLM\SOFTWARE\Wow6432Node\Tallowick'
journal="$work/journal.txt"
export KORV_JOURNAL="Z:${journal//\//\\}"
wine_run() { "$src/tools/wine/run.sh" "$build" "$@" 2>/dev/null | tr -d '\r'; }
clean_machine() {
    rm -rf "$target_unix" "$prefix/drive_c/Program Files/Common Files/Tallowick" "$journal"
    "$src/tools/wine/run.sh" "$build" msiexec /x '{6A1E4C27-93B5-4D0F-8C62-1F7B3E9A5D48}' /qn >/dev/null 2>&1 </dev/null || true
    "$src/tools/wine/run.sh" "$build" msiexec /x '{0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07}' /qn >/dev/null 2>&1 </dev/null || true
    wine_run reg delete "$setup_record" /f >/dev/null || true
}
clean_machine
trap clean_machine EXIT

# shellcheck source=tests/e2e/cases.sh
source "$src/tests/e2e/cases.sh"

# install ID MEDIUM EXPECTED_CODE: the unattended install from MEDIUM, its
# log in $work/ID.log (UTF-8 text without CR).
install() {
    local id=$1 medium=$2 expected=$3 code
    local win_medium="Z:${medium//\//\\}" log_win="Z:${work//\//\\}\\$id.raw"
    timeout 180 "$src/tools/wine/run.sh" "$build" "$build/bin/wine-launch.exe" "$win_medium\\Setup.exe" quiet=1 \
        SUPPRESSMSGBOXES=1 "TARGETDIR=\"$target_win\"" "LOG=\"$log_win\"" >"$work/$id.out" 2>&1 || true
    code=$(sed -n 's/^exit code: \([0-9]*\).*/\1/p' "$work/$id.out" | tr -d '\r')
    tr -d '\r' <"$work/$id.raw" >"$work/$id.log" 2>/dev/null || true
    if [[ "$code" == "$expected" ]]; then echo "ok   $id: exit code $code"; else
        fail "$id: expected exit code $expected, got '${code:-none}'"
        sed 's/^/     /' "$work/$id.out" "$work/$id.log" | tail -20
    fi
}
nothing_done() {  # nothing started, no setup record, no folder
    [[ ! -s "$journal" ]] && [[ ! -e "$target_unix" ]] && ! wine_run reg query "$setup_record" >/dev/null 2>&1
}
hash_of() { sha256sum "$1" | cut -d' ' -f1; }

install "signed medium installs" "$signed" 0
check "signed: log says verified" grep -q 'medium: verified' "$work/signed medium installs.log"
check "signed: the packages ran" grep -q 'korv_kernel.exe' "$journal"
clean_machine

# refused ID EDIT FILE: a copy of the signed medium, edited by the command
# EDIT (run inside it), ends with 1603 before anything, naming FILE.
refused() {
    local id=$1 edit=$2 file=$3 copy="$work/copy"
    rm -rf "$copy"
    cp -r "$signed" "$copy"
    (cd "$copy" && eval "$edit")
    install "$id" "$copy" 1603
    check "$id: nothing started or written" nothing_done
    check "$id: the log names $file" grep -qF "$file" "$work/$id.log"
    clean_machine
}
msi="Msi\\msxml6_x64.msi"
expected_hash=$(hash_of "$signed/Msi/msxml6_x64.msi")
refused "one byte changed" 'printf "\x01" | dd of=Msi/msxml6_x64.msi bs=1 seek=1000 conv=notrunc status=none' "$msi: other hash"
check "one byte changed: the log has the expected hash" grep -qF "$expected_hash" "$work/one byte changed.log"
check "one byte changed: the log has the found hash" grep -qF "$(hash_of "$work/copy/Msi/msxml6_x64.msi")" \
    "$work/one byte changed.log"
refused "package removed" 'rm files/korv_help.exe' 'files\korv_help.exe: missing'
refused "package not in the manifest" \
    "sed -i '/files.korv_kernel.exe\$/d' Setup.manifest && python3 '$src/tools/medium/sign-medium.py' . --key '$src/keys/demo-medium-signing.pem' --sign-only >/dev/null" \
    'files\korv_kernel.exe: not listed'
refused "manifest edited after signing" "sed -i '2s/ [0-9]* / 1 /' Setup.manifest" 'medium: bad signature'
refused "another key" "python3 '$src/tools/medium/sign-medium.py' . --key '$src/keys/tests-other-signing.pem' >/dev/null" \
    'medium: bad signature'

unsigned="$work/unsigned"
"$src/tools/medium/make-medium.sh" "$unsigned" "$build" >/dev/null
install "unsigned medium installs" "$unsigned" 0
check "unsigned: the log says so" grep -q 'medium: unsigned' "$work/unsigned medium installs.log"
clean_machine

report_cases
