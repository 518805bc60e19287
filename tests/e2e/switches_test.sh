#!/usr/bin/env bash
# The switches deployment tools pass (/quiet, /log, /uninstall, /repair ...),
# the unattended repair, REGISTER=1 and the passive run, out of process, on a medium laid out
# by the medium builder, and the switch command lines of docs/deployment.md.
#
#   switches_test.sh SOURCE_DIR BUILD_DIR
#
# The fake packages journal every start (tests/fixtures/fakepkg). Everything
# the runs create on the prefix's machine is removed again.
set -euo pipefail
src=$1
build=$(cd "$2" && pwd)
work="$build/e2e/switches"
prefix="$build/wineprefix"
rm -rf "$work"
mkdir -p "$work"
medium="$work/medium"
"$src/tools/medium/make-medium.sh" "$medium" "$build" >/dev/null
"$src/tools/wine/machine-state.sh" "$build"
win_work="Z:${work//\//\\}"
win_medium="Z:${medium//\//\\}"

target_win='C:\Program Files\Korvanix'
target_unix="$prefix/drive_c/Program Files/Korvanix"
logs_unix="$prefix/drive_c/Logs"
company_files="$prefix/drive_c/Program Files/Common Files/Tallowick"
setup_record='HKLM\SOFTWARE\Wow6432Node\Tallowick'
uninstall_record='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Korvanix2024_en_us'
desktop_link="$prefix/drive_c/users/Public/Desktop/Korvanix2024.lnk"
programs_folder="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvanix2024"
export KORV_JOURNAL="$win_work\\journal.txt"
journal="$work/journal.txt"

wine_run() { "$src/tools/wine/run.sh" "$build" "$@" 2>/dev/null | tr -d '\r'; }

fixture_products=('{6A1E4C27-93B5-4D0F-8C62-1F7B3E9A5D48}' '{0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07}')
clean_machine() {
    rm -rf "$target_unix" "$company_files" "$logs_unix" "$programs_folder"
    rm -f "$desktop_link"
    for product in "${fixture_products[@]}"; do
        "$src/tools/wine/run.sh" "$build" msiexec /x "$product" /qn >/dev/null 2>&1 </dev/null || true
    done
    wine_run reg delete "$setup_record" /f >/dev/null || true
    wine_run reg delete "$uninstall_record" /f >/dev/null || true
    find "$prefix/drive_c/users" -maxdepth 5 -type d -name 'KorvUninstall-*' -path '*/Temp/*' \
        -exec rm -rf {} + 2>/dev/null || true
}
clean_machine
trap clean_machine EXIT

# shellcheck source=tests/e2e/cases.sh
source "$src/tests/e2e/cases.sh"

# run ID EXPECTED_CODE WORDS...: Setup.exe from the medium with the words;
# its output lands in $work/ID.out.
run() {
    local id=$1 expected=$2
    shift 2
    local out="$work/${id//\//_}.out" code
    timeout 120 "$src/tools/wine/run.sh" "$build" "$build/bin/wine-launch.exe" "$win_medium\\Setup.exe" "$@" \
        >"$out" 2>&1 || true
    code=$(sed -n 's/^exit code: \([0-9]*\).*/\1/p' "$out" | tr -d '\r')
    if [[ "$code" == "$expected" ]]; then
        echo "ok   $id: exit code $code"
    else
        fail "$id: expected exit code $expected, got '${code:-none (timed out or did not start)}'"
        sed 's/^/     /' "$out"
    fi
}
journal_lines() { [[ -f "$journal" ]] && tr -d '\r' <"$journal" || true; }
log_has() { grep -qF "$2" <(tr -d '\r' <"$logs_unix/$1"); }
no_record() { ! wine_run reg query "$uninstall_record" >/dev/null 2>&1; }
# The record has every value the wizard writes, and there is only one entry
# for the product among installed programs.
full_record() {
    local record
    record=$(wine_run reg query "$uninstall_record") || return 1
    for value in DisplayName DisplayVersion InstallLocation UninstallString QuietUninstallString InstallDate \
        EstimatedSize DisplayIcon Publisher; do
        grep -qE "^ +$value +REG_" <<<"$record" || { echo "no $value"; return 1; }
    done
    grep -qF "$target_win" <<<"$record" || { echo "InstallLocation is not the folder"; return 1; }
    local entries
    entries=$(wine_run reg query 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall' |
        grep -ci 'Uninstall\\Korvanix') || true
    [[ "$entries" == 1 ]] || { echo "$entries entries for the product"; return 1; }
}
shortcuts() { test -f "$desktop_link" && test -d "$programs_folder"; }

# The stand-in packages install nothing: the folder they would create is
# made here, with the product program and the collaboration uninstaller.
prepare_folder() {
    mkdir -p "$target_unix" "$logs_unix"
    cp "$build/bin/fixtures/fakepkg.exe" "$target_unix/korv.exe"
    cp "$build/bin/fixtures/fakepkg.exe" "$target_unix/kvnunist.exe"
}
prepare_folder

# --- refusals before any check -------------------------------------------
run "unknown switch" 1639 /quiet /layout "/log:C:\\Logs\\refused.log"
check "unknown switch: refused before any check" bash -c \
    'grep -q "the command line is refused" "$1" && ! grep -q "administrator rights" "$1"' _ "$logs_unix/refused.log"
check "unknown switch: nothing started" test ! -s "$journal"
run "/quiet quiet=0" 1639 /quiet quiet=0
run "/log without a file" 1639 /quiet /log
run "REPAIR=1 Uninstall=1" 1639 REPAIR=1 Uninstall=1 SUPPRESSMSGBOXES=1

# --- /repair with nothing installed ------------------------------------------
run "/repair, nothing installed" 1603 /repair /quiet "/log:C:\\Logs\\norepair.log"
check "/repair, nothing installed: the log says why" log_has norepair.log "no installed copy to repair"
check "/repair, nothing installed: nothing started" test ! -s "$journal"

# --- /quiet installs, unregistered as before ----------------------------------
run "/quiet install" 0 /QUIET /norestart "TARGETDIR=\"$target_win\"" /log "C:\\Logs\\quiet.log"
check "/quiet install: the log is where /log put it" log_has quiet.log "exit code 0"
check "/quiet install: the product packages ran" grep -q '^korv_kernel.exe' <(journal_lines)
check "/quiet install: no uninstall record" no_record
check "/quiet install: no shortcuts" test ! -e "$desktop_link"

# --- /repair of that copy, named by the setup record ---------------------------
: >"$journal"
run "/repair" 0 /repair /quiet "/log:C:\\Logs\\Korvanix-repair.log"
check "/repair: the product packages ran again" grep -q '^korv_kernel.exe' <(journal_lines)
check "/repair: of the installed folder" log_has Korvanix-repair.log "run mode: unattended repair of $target_win"
check "/repair: the configuration program ran" grep -qi '^SetupWriter' <(journal_lines)

# --- /uninstall /quiet ------------------------------------------------------
: >"$journal"
run "/uninstall /quiet" 0 /uninstall /quiet "TARGETDIR=\"$target_win\""
check "/uninstall: KUninstall ran" grep -q '^KUninstall.exe' <(journal_lines)
clean_machine
prepare_folder

# --- REGISTER=1: registered as the wizard registers -----------------------------
: >"$journal"
run "/quiet REGISTER=1" 0 /quiet /norestart REGISTER=1 "TARGETDIR=\"$target_win\"" /log \
    "\"C:\\Logs\\Korvanix-install.log\""
check "REGISTER=1: the log" log_has Korvanix-install.log "exit code 0"
check "REGISTER=1: one uninstall entry with all its values" full_record
check "REGISTER=1: the shortcuts" shortcuts
run "REGISTER=yes" 1639 /quiet REGISTER=yes
clean_machine
prepare_folder

# --- /passive: only the copy-progress page, registered like the wizard ------
: >"$journal"
("$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" watch Setup.exe --timeout 120 \
    >"$work/passive.watch" 2>&1 || true) &
watcher=$!
for _ in $(seq 1 200); do grep -q '^watching' "$work/passive.watch" 2>/dev/null && break; sleep 0.05; done
# Slow packages keep the page up long enough to be found by its controls.
printf 'sleep_ms=1500\r\n' >>"$medium/files/fakepkg.ini"
(run "/passive" 0 /passive /norestart "TARGETDIR=\"$target_win\"" "/log:C:\\Logs\\Korvanix-passive.log" \
    >"$work/passive.result") &
passive_run=$!
check "/passive: the copy-progress page shows" \
    "$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" wait 2102 --with 1013 --timeout 60
wait "$passive_run" || true
cat "$work/passive.result"
grep -q '^FAIL' "$work/passive.result" && failures=$((failures + 1))
wait "$watcher" || true
check "/passive: no other window than that page" grep -q 'ended, 1 window(s) shown' "$work/passive.watch"
check "/passive: the log" log_has Korvanix-passive.log "exit code 0"
check "/passive: the product packages ran" grep -q '^korv_kernel.exe' <(journal_lines)
check "/passive: the configuration program ran" grep -qi '^SetupWriter' <(journal_lines)
check "/passive: one uninstall entry with all its values" full_record
check "/passive: the shortcuts" shortcuts
clean_machine
prepare_folder

# --- /passive, Cancel: the person who pressed it is asked, then it rolls back --
: >"$journal"
(run "/passive, cancelled" 1602 /passive "TARGETDIR=\"$target_win\"" >"$work/passive-cancel.result") &
passive_run=$!
check "/passive, Cancel: the page shows" \
    "$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" wait 2102 --with 1013 --timeout 60
check "/passive, Cancel: pressed" "$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" click 2 --with 2102
check "/passive, Cancel: asks first" "$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" wait 3016 --timeout 10
check "/passive, Cancel: OK cancels" "$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" click 1 --with 3016
wait "$passive_run" || true
cat "$work/passive-cancel.result"
grep -q '^FAIL' "$work/passive-cancel.result" && failures=$((failures + 1))
check "/passive, Cancel: rolled back" grep -q '^KUninstall.exe' <(journal_lines)
check "/passive, Cancel: no uninstall record" no_record

report_cases
