#!/usr/bin/env bash
# The interactive installation, out of process, as a person does it: Setup.exe
# started from the medium with no words (as a double-click starts it), the
# pages worked through the UI driver (real mouse clicks and typing), then
# what a person would check afterwards: the exit code, the programs started
# (the fake packages' journal), the installed MSI package, the uninstall
# record, the shortcuts (read back by lnkinfo), install.log and the installed
# Setup.ini. A screenshot of each page is taken on the way.
#
#   wizard_test.sh SOURCE_DIR BUILD_DIR [SHOT_DIR]
#
# SHOT_DIR (default BUILD_DIR/e2e/wizard/shots) receives the screenshots.
# Everything the runs create on the prefix's machine is removed again.
set -euo pipefail
src=$1
build=$(cd "$2" && pwd)
work="$build/e2e/wizard"
shots=${3:-$work/shots}
prefix="$build/wineprefix"
rm -rf "$work"
mkdir -p "$work" "$shots"
medium="$work/medium"
service_state=${KORV_ADSERVICE:?the stand-in advertisement service (ctest fixture adservice) is not running}
service_port=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["http"])' "$service_state/ports.json")
token="wizard$$"
"$src/tools/medium/make-medium.sh" "$medium" "$build" --server "http://127.0.0.1:$service_port/$token/success" >/dev/null
"$src/tools/wine/machine-state.sh" "$build"
win_medium="Z:${medium//\//\\}"
# The first product package takes two seconds, so the copy-progress page can
# be seen (and photographed) at work.
printf '%s\r\n' 'sleep_ms=2000' >>"$medium/files/fakepkg.ini"

target_name="Korvanix Wizard E2E"
target_unix="$prefix/drive_c/$target_name"
target_win="C:\\$target_name"
company_files="$prefix/drive_c/Program Files/Common Files/Tallowick"
setup_record='HKLM\SOFTWARE\Wow6432Node\Tallowick'
uninstall_record='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Korvanix2024_en_us'
fixture_code='{0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07}'
fixture_payload="$prefix/drive_c/Program Files (x86)/Korvanix Fixture/fixture_payload.txt"
desktop_link="$prefix/drive_c/users/Public/Desktop/Korvanix2024.lnk"
programs_folder="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvanix2024"
export KORV_JOURNAL="Z:${work//\//\\}\\journal.txt"
journal="$work/journal.txt"
display=$(cat "$build/wine/display")

lookups() {  # the service's journal entries of this run: METHOD PROBLEM-COUNT CASE per line
    python3 - "$service_state/journal.jsonl" "$token" <<'PY'
import json, os, sys
if not os.path.exists(sys.argv[1]):
    sys.exit(0)
for line in open(sys.argv[1], encoding="utf-8"):
    entry = json.loads(line)
    if entry.get("token") == sys.argv[2]:
        print(entry["method"], len(entry.get("problems", [])), entry["case"])
PY
}
wine_run() { "$src/tools/wine/run.sh" "$build" "$@" 2>/dev/null | tr -d '\r'; }
drive() { "$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" "$@" 2>&1 | tr -d '\r'; }

clean_machine() {
    rm -rf "$target_unix" "$company_files" "$programs_folder"
    find "$prefix/drive_c/users" -maxdepth 5 -type d -name 'KorvUninstall-*' -path '*/Temp/*' \
        -exec rm -rf {} + 2>/dev/null || true
    rm -f "$desktop_link"
    wine_run reg delete "$setup_record" /f >/dev/null || true
    wine_run reg delete "$uninstall_record" /f >/dev/null || true
    wine_run msiexec /x "$fixture_code" /qn >/dev/null || true
}
clean_machine
trap clean_machine EXIT

# shellcheck source=tests/e2e/cases.sh
source "$src/tests/e2e/cases.sh"
step() {  # step ID uidriver-words...: one action of the person; fails the case when it cannot be done
    local id=$1
    shift
    local out
    if out=$(drive "$@"); then echo "ok   $id"; else fail "$id: $out"; fi
}
no_window() { ! drive wait "$1" --timeout 0.3 >/dev/null; }
# With a compositor on the display (tools/screenshots/pages.sh starts one)
# a shot is the page over the main background window as a person sees it;
# without one, the whole screen as the test saw it.
shot() {  # shot NAME [WINDOW_TITLE]: the window of that title (default the main background window)
    local out="$shots/$1.png" taken=0
    if [[ -f "$build/wine/xcompmgr.pid" ]] && kill -0 "$(cat "$build/wine/xcompmgr.pid")" 2>/dev/null &&
        "$src/tools/screenshots/shot.sh" "$build" "$out" "${2:-Korvanix 2024}" 2>/dev/null; then
        taken=1
    elif DISPLAY=$display import -window root "$out" 2>/dev/null; then
        taken=1
    fi
    if ((taken)); then
        echo "ok   screenshot $1.png"
    else
        fail "screenshot $1.png"
    fi
}

# start_setup: Setup.exe from the medium without words, in the background;
# its full exit code lands in $work/run.out.
start_setup() {
    rm -f "$work/run.out"
    (WINEDEBUG=-all,err+all timeout 180 "$src/tools/wine/run.sh" "$build" "$build/bin/wine-launch.exe" "$win_medium\\Setup.exe" \
        >"$work/run.out" 2>&1 || true) &
    setup_pid=$!
}
# finish_setup ID EXPECTED: waits for the run and checks its exit code.
finish_setup() {
    wait "$setup_pid" || true
    local code
    code=$(sed -n 's/^exit code: \([0-9]*\).*/\1/p' "$work/run.out" | tr -d '\r')
    if [[ "$code" == "$2" ]]; then
        echo "ok   $1: exit code $code"
    else
        fail "$1: expected exit code $2, got '${code:-none (timed out or did not start)}'"
        sed 's/^/     /' "$work/run.out"
    fi
}

# --- Exit on the welcome page --------------------------------------------
rm -f "$journal"
start_setup
step "welcome page shows" wait 1023 --timeout 60
step "Exit" click 2 --with 1023
step "the exit question shows" wait 3016
shot tip-exit-question
step "OK on the exit question" click 1 --with 3016
finish_setup "Exit confirmed" 1602
check "Exit starts nothing" test ! -e "$journal"
check "Exit asks the service nothing" test -z "$(lookups)"

# --- Cancel during the installation, confirmed -----------------------------
# Escape on the copy-progress page asks; OK cancels. The running package is
# waited for, nothing after it starts, and the new installation is rolled
# back quietly (KUninstall from a folder of its own) before the run ends
# with 1602.
journal_names() { [[ -f "$journal" ]] && tr -d '\r' <"$journal" | cut -f1 || true; }
rm -f "$journal"
cp "$medium/files/fakepkg.ini" "$work/fakepkg.ini.saved"
printf '[korv_kernel.exe]\r\nsleep_ms=15000\r\n' >>"$medium/files/fakepkg.ini"
start_setup
step "welcome page shows" wait 1023 --timeout 60
step "type the folder" type 1023 "$target_win"
step "tick the agreement" click 1037
step "Install" click 1018
step "copy-progress page shows" wait 2102 --timeout 30
step "Escape on the copy-progress page" key ESCAPE 2102
step "the cancel question shows" wait 3016 --timeout 10
shot tip-cancel-question
step "OK cancels" click 1 --with 3016
finish_setup "cancelled installation" 1602
cp "$work/fakepkg.ini.saved" "$medium/files/fakepkg.ini"
started=$(journal_names | grep -v '^WindowsInstaller-KB893803-v2-x86.exe$' | tr '\n' ' ')
check "cancel: the running package ends, nothing after it starts, then the rollback ($started)" \
    test "$started" == "vc_redist.x64.exe vcredist_x64_10.exe korv_kernel.exe KUninstall.exe "
check "cancel: the rollback runs quietly from a folder of its own" \
    grep -q 'KorvUninstall-.*\\KUninstall.exe" /quiet /norestart' <(tr -d '\r' <"$journal")
check "cancel: no uninstall record" bash -c '! "$@" reg query "$0" >/dev/null 2>&1' "$uninstall_record" \
    "$src/tools/wine/run.sh" "$build"
check "cancel: no setup record" bash -c '! "$@" reg query "$0" >/dev/null 2>&1' "$setup_record" \
    "$src/tools/wine/run.sh" "$build"
check "cancel asks the service nothing" test -z "$(lookups)"
clean_machine

# --- the installation -----------------------------------------------------
rm -f "$journal"
install_day=$(date +%Y%m%d)
start_setup
step "welcome page shows" wait 1023 --timeout 60
shot welcome
step "type the folder" type 1023 "$target_win"
check "the path box holds the folder" test "$(drive text 1023)" == "$target_win"
step "tick the agreement" click 1037
step "open the options" click 1017
step "tick vezu" click 3002
shot welcome-options
step "Install" click 1018
step "copy-progress page shows" wait 2102 --timeout 30
sleep 0.5
shot copy-progress
# Cancel asks; the question starts on the answer that goes on, so Enter
# keeps the installation running.
step "Cancel on the copy-progress page" click 2 --with 2102
step "the cancel question shows" wait 3016 --timeout 10
step "Enter on the question goes on" key RETURN 1 --with 3016
step "finish page shows" wait 1014 --timeout 120
shot finish-workspace
step "choose Korvanix Classic" click 1015
step "Next" click 1001 --with 1014
step "final page shows" wait 2280 --timeout 30
shot finish-final
step "Finish" click 1001 --with 2280
step "the information page shows" wait 2101 --timeout 60
shot info-page "Thank you for using Korvanix2024"
step "the close box closes the information page" close 2101
finish_setup "installation" 0
check "exactly one signed lookup, in the form the service expects" test "$(lookups | grep -c '^POST 0 ')" == 1
check "no other lookup" test "$(lookups | grep -c '^POST')" == 1
check "the information page fetched the page the service named" grep -q '^GET 0 page' <(lookups)

m="$win_medium"
t="$target_win"
expected=$(cat <<EOF
vc_redist.x64.exe	"$m\\Msi\\vc_redist.x64.exe" -q -norestart
vcredist_x64_10.exe	"$m\\Msi\\vcredist_x64_10.exe" -q -norestart
korv_kernel.exe	"$m\\files\\korv_kernel.exe" -passive -norestart
korv_korvfile.exe	"$m\\files\\korv_korvfile.exe" -passive -norestart
korv_global.exe	"$m\\files\\korv_global.exe" -passive -norestart
korv_local.exe	"$m\\files\\korv_local.exe" -passive -norestart
korv_resfile.exe	"$m\\files\\korv_resfile.exe" -passive -norestart
korv_vezu.exe	"$m\\files\\korv_vezu.exe" -passive -norestart
korv_help.exe	"$m\\files\\korv_help.exe" -passive -norestart
korv_encryption.exe	"$m\\files\\korv_encryption.exe" -passive -norestart
kvninst_x64.exe	"$m\\files\\kvninst_x64.exe" /S /D=$t
SetupWriter_x64.exe	"$m\\files\\SetupWriter_x64.exe" lang=en-us TARGETDIR="$t" PRODUCTNAME="Korvanix2024" VERSION=21.0 PLATFORM=x64 NUM=1 WorkspaceName=0 COMPANYNAME="Tallowick" PRODUCTREG="Korvanix" -q
EOF
)
actual=$([[ -f "$journal" ]] && tr -d '\r' <"$journal" || true)
# The Windows Installer update runs first on a machine without its
# automation class; the rest is the same.
actual_rest=$(grep -v '^WindowsInstaller-KB893803-v2-x86.exe' <<<"$actual" || true)
if [[ "$actual_rest" == "$expected" ]]; then
    echo "ok   programs in order with their command lines (vezu ticked, Classic chosen)"
else
    fail "programs differ"
    diff <(echo "$expected") <(echo "$actual_rest") | sed 's/^/     /'
fi

check "the medium's MSI package is installed" test -f "$fixture_payload"
for file in Setup.exe IntallerRes.dll KUninstall Setup.ini install.log; do
    check "$file in the installation folder" test -f "$target_unix/$file"
done
check "CLASSIC=1 in the installed Setup.ini" grep -q '^CLASSIC=1' <(tr -d '\r' <"$target_unix/Setup.ini")
check "vezu recorded as ticked in the installed Setup.ini" \
    grep -q '^check=1' <(tr -d '\r' <"$target_unix/Setup.ini" | sed -n '/^\[sub2\]/,/^\[/p')

record=$(wine_run reg query "$uninstall_record" || true)
value() { sed -n "s/^ *$1 *REG_[A-Z_]* *//p" <<<"$record"; }
check "uninstall record: DisplayName" test "$(value DisplayName)" == "Korvanix2024"
check "uninstall record: InstallLocation" test "$(value InstallLocation)" == "$target_win"
uninstall_string=$(value UninstallString)
check "uninstall record: UninstallString names the installed Setup.exe ($uninstall_string)" \
    grep -qiF "$target_win\\setup.exe" <<<"$uninstall_string"
setup_path=$(wine_run reg query 'HKLM\SOFTWARE\Wow6432Node\Tallowick\Korvanix\Korvanix_Setup' /v path |
    sed -n 's/^ *path *REG_SZ *//p')
check "setup record names the folder" test "$setup_path" == "$target_win"

check "install.log records the uninstall record" grep -q 'Korvanix2024_en_us' <(tr -d '\r' <"$target_unix/install.log")
check "install.log records the desktop shortcut" grep -qi 'Desktop' <(tr -d '\r' <"$target_unix/install.log")

# The values deployment and inventory tools read, in the 32-bit view, and
# their install.log entries: every entry parses with the grammar the
# uninstaller reads, and the four come last, naming what the record holds.
record32=$(wine_run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvanix2024_en_us' /reg:32 || true)
value32() { sed -n "s/^ *$1 *REG_[A-Z_]* *//p" <<<"$record32"; }
quiet_uninstall=$(value32 QuietUninstallString)
check "uninstall record: DisplayVersion from Setup.ini (the detection of docs/deployment.md)" \
    grep -qE '^ +DisplayVersion +REG_SZ +21\.0$' <(wine_run reg query \
        'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Korvanix2024_en_us' /v DisplayVersion /reg:32)
check "uninstall record: QuietUninstallString ($quiet_uninstall)" \
    test "$quiet_uninstall" == "\"$target_win\\setup.exe\" quiet=1 Uninstall=1 SUPPRESSMSGBOXES=1"
check "uninstall record: InstallDate is the day of the installation" \
    grep -qxE "$install_day|$(date +%Y%m%d)" <<<"$(value32 InstallDate)"
check "uninstall record: EstimatedSize is a REG_DWORD" grep -qE '^ *EstimatedSize +REG_DWORD +0x[0-9a-f]+$' <<<"$record32"
if report=$(python3 - "$target_unix/install.log" "$(value32 DisplayVersion)" "$quiet_uninstall" \
    "$(value32 InstallDate)" "$(value32 EstimatedSize)" "$target_unix" <<'PY'
import os, re, sys
log, version, quiet, date, size, folder = sys.argv[1:]
data = open(log, "rb").read().decode("cp1252")
assert data.startswith("\r\r\n"), "the log begins with its line break"
entries = data[3:].split("\r\r\n")
key = r'"HKEY_LOCAL_MACHINE\\([^"]+)"'
grammar = [
    r'CreateDirectory: "[^"]+" \(0\)', r'CreateDirectory: "[^"]+" created',
    r'CreateShortCut: out: "[^"]+", in: "[^"]+ ", icon: ,0, sw=0, hk=0',
    r'WriteRegStr: ' + key + r' "([^"]+)"="(.*)"', r'WriteRegDWORD: ' + key + r' "([^"]+)"="([0-9a-f]+)"',
    r'File: overwriteflag=4, allowskipfilesflag=0, name="KUninstall"', r'File: wrote 341000 to "[^"]+"',
]
bad = [e for e in entries if not any(re.fullmatch(g, e) for g in grammar)]
tail = entries[-4:]
want = [
    ("WriteRegStr", "DisplayVersion", version), ("WriteRegStr", "QuietUninstallString", quiet),
    ("WriteRegStr", "InstallDate", date), ("WriteRegDWORD", "EstimatedSize", "%x" % int(size, 16)),
]
got = []
for e in tail:
    m = re.fullmatch(r'(WriteRegStr|WriteRegDWORD): ' + key + r' "([^"]+)"="(.*)"', e)
    got.append((m.group(1), m.group(3), m.group(4)) if m else ("?", e, ""))
kib = (sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(folder) for f in fs
           if f != "install.log") + 1023) // 1024
problems = ["not in the grammar: " + e for e in bad]
if got != want:
    problems.append("last four entries %r, expected %r" % (got, want))
if not entries[-5].startswith('File: wrote 341000 to '):
    problems.append("the four follow the existing entries: before them %r" % entries[-5])
# The size is measured before the registration logs its entries.
if abs(int(size, 16) - kib) > 1:
    problems.append("EstimatedSize %d KiB, the folder without its log holds %d KiB" % (int(size, 16), kib))
print("\n".join(problems) if problems else "%d entries parse, the four values last" % len(entries))
sys.exit(1 if problems else 0)
PY
); then
    echo "ok   install.log: $report"
else
    fail "install.log: $report"
fi

check "desktop shortcut" test -f "$desktop_link"
if command -v lnkinfo >/dev/null && [[ -f "$desktop_link" ]]; then
    local_path=$(lnkinfo -c windows-1252 "$desktop_link" 2>/dev/null | sed -nE 's/^[[:space:]]+Local path[[:space:]]*: ?(.*)$/\1/p' | head -1)
    check "desktop shortcut points at the installed product program" test "$local_path" == "$target_win\\korv.exe"
else
    fail "lnkinfo (liblnk-utils) is needed to read the shortcut"
fi
check "start-menu folder with the uninstall shortcut" test -f "$programs_folder/Uninstall Korvanix 2024.lnk"

# --- maintenance of the installed copy ------------------------------------
lookups_before_maintenance=$(lookups | wc -l)

# Repair from the medium: the job runs again, Finish ends the run.
rm -f "$journal"
start_setup
step "maintenance start page shows" wait 3001 --timeout 60
shot maintenance
step "choose Repair" click 3002
step "Next" click 1 --with 3001
step "repair: final page shows" wait 2280 --timeout 120
step "Finish" click 1001 --with 2280
finish_setup "repair" 0
check "repair ran the product packages again" grep -qx 'korv_kernel.exe' <(journal_names)
check "repair ran the configuration program" grep -qx 'SetupWriter_x64.exe' <(journal_names)

# Modify, untick vezu, Back, then Repair: the choice left behind on the
# feature page is not applied; the Repair installs vezu again and removes
# none of its files.
rm -f "$journal"
echo "module" >"$target_unix/vezulib.vlb"
start_setup
step "maintenance start page shows" wait 3001 --timeout 60
step "choose Modify" click 3001
step "Next" click 1 --with 3001
step "feature page shows" wait 1000 --timeout 30
step "untick vezu" click 3002 --with 1000
step "Back" click 1000 --with 1000
step "maintenance start page shows again" wait 3003 --timeout 30
step "choose Repair" click 3002 --with 3003
step "Next" click 1 --with 3003
step "back-then-repair: final page shows" wait 2280 --timeout 120
step "Finish" click 1001 --with 2280
finish_setup "back, then repair" 0
check "back-then-repair installed vezu again" grep -qx 'korv_vezu.exe' <(journal_names)
check "back-then-repair kept vezu's files" test -f "$target_unix/vezulib.vlb"
check "vezu still recorded as ticked in the installed Setup.ini" \
    grep -q '^check=1' <(tr -d '\r' <"$target_unix/Setup.ini" | sed -n '/^\[sub2\]/,/^\[/p')

# Modify: untick vezu; the job leaves it out and records it as unticked.
rm -f "$journal"
start_setup
step "maintenance start page shows" wait 3001 --timeout 60
step "choose Modify" click 3001
step "Next" click 1 --with 3001
step "feature page shows" wait 1000 --timeout 30
shot features
step "untick vezu" click 3002 --with 1000
step "Next" click 1001 --with 1000
step "modify: final page shows" wait 2280 --timeout 120
step "Finish" click 1001 --with 2280
finish_setup "modify" 0
check "modify ran the job without vezu" test -z "$(grep -x 'korv_vezu.exe' <(journal_names))"
check "modify removed vezu's files" test ! -e "$target_unix/vezulib.vlb"
check "modify ran the job" grep -qx 'korv_kernel.exe' <(journal_names)
check "vezu recorded as unticked in the installed Setup.ini" \
    grep -q '^check=0' <(tr -d '\r' <"$target_unix/Setup.ini" | sed -n '/^\[sub2\]/,/^\[/p')

# A Repair that fails (a product package gone from the medium) leaves the
# installed copy alone.
mv "$medium/files/korv_local.exe" "$work/korv_local.exe"
rm -f "$journal"
start_setup
step "maintenance start page shows" wait 3001 --timeout 60
step "choose Repair" click 3002
step "Next" click 1 --with 3001
step "the missing package is reported" wait 3016 --timeout 60
step "OK" click 1 --with 3016
step "the failed installation is reported" wait 3016 --timeout 30
step "OK" click 1 --with 3016
finish_setup "failed repair" 1603
mv "$work/korv_local.exe" "$medium/files/korv_local.exe"
check "failed repair: nothing handed to the uninstaller" test -z "$(grep -x 'KUninstall.exe' <(journal_names))"
check "failed repair: the installed files stay" test -f "$target_unix/Setup.exe"
check "failed repair: the uninstall record stays" wine_run reg query "$uninstall_record" /v InstallLocation

# Uninstall from the Windows list of programs: the installed copy's own
# Setup.exe asks once and hands the removal to KUninstall.
rm -f "$journal"
win_target_setup="$target_win\Setup.exe"
(timeout 180 "$src/tools/wine/run.sh" "$build" "$build/bin/wine-launch.exe" "$win_target_setup" \
    >"$work/run.out" 2>&1 || true) &
setup_pid=$!
step "the uninstall question shows" wait 3016 --timeout 60
check "no page before the question" no_window 3001
shot uninstall-question
step "OK" click 1 --with 3016
finish_setup "uninstall from the installed copy" 0
for _ in $(seq 1 50); do
    grep -qx 'KUninstall.exe' <(journal_names) && break
    sleep 0.1
done
check "uninstall: KUninstall handed over" grep -qx 'KUninstall.exe' <(journal_names)
check "uninstall: KUninstall runs from a folder of its own" \
    grep -q 'KorvUninstall-.*\\KUninstall.exe" /norestart' <(tr -d '\r' <"$journal")

# A management tool uninstalls silently with the record's
# QuietUninstallString, exactly as written there (the stand-in KUninstall
# removes nothing, so the copy is still registered).
rm -f "$journal"
quiet_program=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$quiet_uninstall")
quiet_words=$(sed -n 's/^"[^"]*" //p' <<<"$quiet_uninstall")
# shellcheck disable=SC2086 # the record's words, split as Windows splits them
(timeout 180 "$src/tools/wine/run.sh" "$build" "$build/bin/wine-launch.exe" "$quiet_program" $quiet_words \
    >"$work/run.out" 2>&1 || true) &
setup_pid=$!
finish_setup "uninstall with the record's QuietUninstallString" 0
for _ in $(seq 1 50); do
    grep -qx 'KUninstall.exe' <(journal_names) && break
    sleep 0.1
done
check "quiet uninstall: KUninstall handed over without a question" grep -qx 'KUninstall.exe' <(journal_names)

check "the cancelled wizard and the maintenance runs asked the service nothing" \
    test "$(lookups | wc -l)" == "$lookups_before_maintenance"

# An installation whose configuration program is missing: the notice once,
# the final page all the same, the product stays installed and the run ends
# with 1603.
clean_machine
mv "$medium/files/SetupWriter_x64.exe" "$work/SetupWriter_x64.exe"
rm -f "$journal"
start_setup
step "unconfigured: welcome page shows" wait 1023 --timeout 60
step "type the folder" type 1023 "$target_win"
step "tick the agreement" click 1037
step "Install" click 1018
step "unconfigured: finish page shows" wait 1014 --timeout 120
step "Next" click 1001 --with 1014
step "the missing configuration program is reported" wait 3016 --timeout 30
step "OK" click 1 --with 3016
step "unconfigured: final page shows" wait 2280 --timeout 30
check "unconfigured: the notice came once" no_window 3016
step "Finish" click 1001 --with 2280
step "unconfigured: the information page shows" wait 2101 --timeout 60
step "the close box closes the information page" close 2101
finish_setup "installed, not configured" 1603
mv "$work/SetupWriter_x64.exe" "$medium/files/SetupWriter_x64.exe"
check "unconfigured: the product stays installed" test -f "$target_unix/Setup.exe"
check "unconfigured: the log tells a Repair configures it" \
    grep -rlq 'a Repair of the installed copy configures it' "$prefix/drive_c/users" --include='KorvanixSetup_*.log'

report_cases
