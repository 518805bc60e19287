#!/usr/bin/env bash
# What an administrator who rolls the product out relies on, out of process,
# on a medium laid out by the medium builder: the diagnostic log of every
# run, SUPPRESSMSGBOXES=1 (no window ever appears, the exit code tells what
# happened), PLAN=1 (the printed plan is the run's journal, step for step,
# and nothing is started or written), the command-line help, and the
# command lines of docs/deployment.md.
#
#   deployment_test.sh SOURCE_DIR BUILD_DIR
#
# The fake packages journal every start (tests/fixtures/fakepkg). Whether a
# window appears is watched by the UI driver (uidriver watch), which sees
# every visible top-level window of Setup.exe from its start to its end.
# Everything the runs create on the prefix's machine is removed again.
set -euo pipefail
src=$1
build=$(cd "$2" && pwd)
work="$build/e2e/deployment"
prefix="$build/wineprefix"
rm -rf "$work"
mkdir -p "$work"
medium="$work/medium"
"$src/tools/medium/make-medium.sh" "$medium" "$build" >/dev/null
"$src/tools/wine/machine-state.sh" "$build"
win_work="Z:${work//\//\\}"
win_medium="Z:${medium//\//\\}"

# The folder and the log folder of the command lines in docs/deployment.md.
target_win='C:\Program Files\Korvanix'
target_unix="$prefix/drive_c/Program Files/Korvanix"
logs_unix="$prefix/drive_c/Logs"
company_files="$prefix/drive_c/Program Files/Common Files/Tallowick"
setup_record='HKLM\SOFTWARE\Wow6432Node\Tallowick'
export KORV_JOURNAL="$win_work\\journal.txt"
journal="$work/journal.txt"
marker="$work/started"
touch "$marker"

wine_run() { "$src/tools/wine/run.sh" "$build" "$@" 2>/dev/null | tr -d '\r'; }

fixture_products=('{6A1E4C27-93B5-4D0F-8C62-1F7B3E9A5D48}' '{0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07}')
running_pid=
clean_machine() {
    if [[ -n "$running_pid" ]]; then
        kill "$running_pid" 2>/dev/null || true
        wait "$running_pid" 2>/dev/null || true
        running_pid=
    fi
    rm -rf "$target_unix" "$company_files" "$logs_unix"
    for product in "${fixture_products[@]}"; do
        "$src/tools/wine/run.sh" "$build" msiexec /x "$product" /qn >/dev/null 2>&1 </dev/null || true
    done
    wine_run reg delete "$setup_record" /f >/dev/null || true
    find "$prefix/drive_c/users" -maxdepth 5 -type d -name 'KorvUninstall-*' -path '*/Temp/*' \
        -exec rm -rf {} + 2>/dev/null || true
    # The default logs of this test's runs (those newer than its start).
    find "$prefix/drive_c/users" -maxdepth 6 -name 'KorvanixSetup_*.log' -newer "$marker" -delete 2>/dev/null || true
}
clean_machine
trap clean_machine EXIT

# shellcheck source=tests/e2e/cases.sh
source "$src/tests/e2e/cases.sh"

# run ID EXPECTED_CODE WORDS...: Setup.exe from the medium with the words;
# its standard output lands in $work/ID.out. Fails the case when it does not
# end within 120 s or ends with another code.
run_program() {
    local id=$1 expected=$2 program=$3
    shift 3
    local out="$work/$id.out" code
    timeout 120 "$src/tools/wine/run.sh" "$build" "$build/bin/wine-launch.exe" "$program" "$@" >"$out" 2>&1 || true
    code=$(sed -n 's/^exit code: \([0-9]*\).*/\1/p' "$out" | tr -d '\r')
    if [[ "$code" == "$expected" ]]; then
        echo "ok   $id: exit code $code"
    else
        fail "$id: expected exit code $expected, got '${code:-none (timed out or did not start)}'"
        sed 's/^/     /' "$out"
    fi
}
run() {
    local id=$1 expected=$2
    shift 2
    run_program "$id" "$expected" "$win_medium\\Setup.exe" "$@"
}

# watched ID EXPECTED_CODE WORDS...: run, with the UI driver watching every
# top-level window of Setup.exe; its report lands in $work/ID.watch.
watched() {
    local id=$1
    rm -f "$work/$id.watch"
    ("$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" watch Setup.exe --timeout 120 \
        >"$work/$id.watch" 2>&1 || true) &
    local watcher=$!
    for _ in $(seq 1 200); do
        grep -q '^watching' "$work/$id.watch" 2>/dev/null && break
        sleep 0.05
    done
    run "$@"
    wait "$watcher" || true
}
no_window() { grep -q 'ended, 0 window(s) shown' "$1" && ! grep -q '^window ' "$1"; }

# The journal as NAME<TAB>COMMAND LINE lines, without CR.
journal_lines() { [[ -f "$journal" ]] && tr -d '\r' <"$journal" || true; }

# check_log ID LOG EXPECTED_EXIT_CODE: the log names every program the
# journal shows with its exact command line and exit code (taken from
# $work/exit-codes: NAME CODE lines; 0 for the others), in the journal's
# order, and ends with the run's exit code.
check_log() {
    local id=$1 log=$2 expected=$3 report
    if report=$(python3 - "$log" "$journal" "$work/exit-codes" "$expected" <<'PY'
import re, sys
log_path, journal_path, codes_path, expected = sys.argv[1:]
raw = open(log_path, "rb").read()
text = raw.decode("utf-8")
events = [line[25:] for line in text.split("\r\n") if line]
assert all(re.match(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}  ", line) for line in text.split("\r\n") if line), \
    "every line begins with its time stamp"
journal = [l.split("\t", 1) for l in open(journal_path, encoding="utf-8").read().splitlines() if l]
codes = dict(l.split() for l in open(codes_path).read().splitlines() if l.strip())
started = {}
order = []
for e in events:
    m = re.match(r"started process (\d+): (.*?)( \(program [^()]*\))?$", e)
    if m:
        started[m.group(1)] = m.group(2)
        order.append(m.group(1))
    m = re.match(r"process (\d+) ended with exit code (\d+) \((done|done, the machine must restart to finish|failed|not judged)\)$", e)
    if m:
        started[m.group(1)] = (started[m.group(1)], m.group(2))
problems = []
logged = [started[p] for p in order]
if [l[0] if isinstance(l, tuple) else l for l in logged] != [j[1] for j in journal]:
    problems.append("started programs differ from the journal:\n  log:     %s\n  journal: %s"
                    % ([l[0] if isinstance(l, tuple) else l for l in logged], [j[1] for j in journal]))
for (name, line), entry in zip(journal, logged):
    want = codes.get(name, "0")
    if not isinstance(entry, tuple) or entry[1] != want:
        problems.append("%s: exit code %s, expected %s" % (name, entry[1] if isinstance(entry, tuple) else "none", want))
if events[-1] != "exit code " + expected:
    problems.append("last line: %r" % events[-1])
print("\n".join(problems) if problems else "%d programs with their command lines and exit codes" % len(logged))
sys.exit(1 if problems else 0)
PY
    ); then
        echo "ok   $id: $report"
    else
        fail "$id: $report"
    fi
}

m="$win_medium"
install_words=(quiet=1 SUPPRESSMSGBOXES=1 "TARGETDIR=\"$target_win\"" "LOG=\"C:\\Logs\\Korvanix-install.log\"")

# The stand-in packages install nothing, so the folder they would create is
# made here, with the product program (a fake that journals its
# registration) and the collaboration system's uninstaller.
prepare_folder() {
    mkdir -p "$target_unix" "$logs_unix"
    cp "$build/bin/fixtures/fakepkg.exe" "$target_unix/korv.exe"
    cp "$build/bin/fixtures/fakepkg.exe" "$target_unix/kvnunist.exe"
}

# --- PLAN=1: the plan of a real run, and nothing done ---------------------
prepare_folder
before=$(cd "$target_unix" && ls -la --time-style=+%s)
run "plan of the silent install" 0 PLAN=1 "${install_words[@]}"
check "plan: nothing started" test ! -e "$journal"
check "plan: the folder untouched" test "$(cd "$target_unix" && ls -la --time-style=+%s)" == "$before"
check "plan: no setup record" bash -c '! "$@" reg query "HKLM\SOFTWARE\Wow6432Node\Tallowick" >/dev/null 2>&1' _ \
    "$src/tools/wine/run.sh" "$build"
check "plan: the run mode" grep -qx 'run mode: unattended install' <(tr -d '\r' <"$work/plan of the silent install.out")
check "plan: in the log too" grep -qE '  plan: +3\. prerequisite, hidden: ' "$logs_unix/Korvanix-install.log"
# The steps that start a program: their command lines, in order. regsvr32
# (the system's) starts only for a COM library that is there, and the
# medium's stand-ins bring none.
plan_programs() {
    tr -d '\r' <"$1" |
        sed -nE 's/^ +[0-9]+\. (prerequisite, hidden|package|program|program, hidden|configuration program, hidden): //p'
}
plan_programs "$work/plan of the silent install.out" >"$work/plan-install.txt"
# From cmd, redirected to a file: the same plan.
"$src/tools/wine/run.sh" "$build" "$build/bin/wine-launch.exe" --unquoted cmd /c "$win_medium\\Setup.exe" PLAN=1 \
    quiet=1 SUPPRESSMSGBOXES=1 "TARGETDIR=\"$target_win\"" '>' "$win_work\\plan.txt" >/dev/null 2>&1 || true
check "plan: redirected from cmd, the same steps" \
    test "$(plan_programs "$work/plan.txt")" == "$(cat "$work/plan-install.txt")"

# The same words for real; every started program's exit code is logged with
# what it means (a runtime that is there already in another version is done).
printf '[vc_redist.x64.exe]\r\nexit_code=1638\r\n' >>"$medium/Msi/fakepkg.ini"
printf 'vc_redist.x64.exe 1638\n' >"$work/exit-codes"
rm -f "$logs_unix/Korvanix-install.log"
watched "silent install" 0 "${install_words[@]}"
check "silent install: no window appeared" no_window "$work/silent install.watch"
if diff <(cat "$work/plan-install.txt") <(journal_lines | cut -f2) >"$work/plan-install.diff"; then
    echo "ok   plan: the printed plan is the journal of the run, step for step ($(wc -l <"$work/plan-install.txt") programs)"
else
    fail "plan: the printed plan differs from the run's journal"
    sed 's/^/     /' "$work/plan-install.diff"
fi
check "silent install: NUM taken from the medium, the product program registered" \
    grep -qxF "korv.exe	\"$target_win\\korv.exe\" -Regserver -nologo" <(journal_lines)
check_log "silent install: the log" "$logs_unix/Korvanix-install.log" 0
check "silent install: the setup record names the folder (the detection of docs/deployment.md)" \
    grep -qF "$target_win" <(wine_run reg query 'HKLM\SOFTWARE\Tallowick\Korvanix\Korvanix_Setup' /v path /reg:32)

# --- an unwritable LOG changes nothing else ---------------------------------
first_journal=$(journal_lines)
: >"$journal"
run "LOG in a folder that does not exist" 0 quiet=1 SUPPRESSMSGBOXES=1 "TARGETDIR=\"$target_win\"" \
    "LOG=\"C:\\No Such Folder\\k.log\""
check "unwritable LOG: the same programs with the same command lines" test "$(journal_lines)" == "$first_journal"
check "unwritable LOG: no folder made for it" test ! -e "$prefix/drive_c/No Such Folder"

# --- repair: the silent install again, on the installed folder --------------
: >"$journal"
run "silent repair" 0 quiet=1 SUPPRESSMSGBOXES=1 "TARGETDIR=\"$target_win\"" "LOG=\"C:\\Logs\\Korvanix-repair.log\""
check "repair: the product packages ran again" grep -q '^korv_kernel.exe' <(journal_lines)
check "repair: its log ends with its exit code" test "$(tail -c 200 "$logs_unix/Korvanix-repair.log" |
    tr -d '\r' | tail -1 | cut -c26-)" == "exit code 0"

# --- a failed install: without SUPPRESSMSGBOXES its message waits ------------
mv "$medium/files/korv_global.exe" "$work/korv_global.exe"
: >"$journal"
rm -f "$work/message.watch"
("$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" watch Setup.exe --timeout 120 \
    >"$work/message.watch" 2>&1 || true) &
watcher=$!
for _ in $(seq 1 200); do grep -q '^watching' "$work/message.watch" 2>/dev/null && break; sleep 0.05; done
(run "missing package, messages shown" 1603 quiet=1 "TARGETDIR=\"$target_win\"" "LOG=\"C:\\Logs\\shown.log\"" \
    >"$work/shown.result") &
shown_run=$!
check "missing package: its notice waits for a person" \
    "$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" click 1 --with 3016 --timeout 60
wait "$shown_run" || true
cat "$work/shown.result"
grep -q '^FAIL' "$work/shown.result" && failures=$((failures + 1))
wait "$watcher" || true
check "missing package: the watch saw the notice" grep -q '^window ' "$work/message.watch"
check_log "missing package: the log" "$logs_unix/shown.log" 1603
check "missing package: the message and its answer in the log" \
    grep -qF "message (notice): File :'$m\\files\\korv_global.exe' does not exist!" "$logs_unix/shown.log"
check "missing package: answered by a person" grep -q '  message answered OK' "$logs_unix/shown.log"

# --- SUPPRESSMSGBOXES=1: the same failure, no window ---------------------------
: >"$journal"
watched "missing package, SUPPRESSMSGBOXES=1" 1603 "${install_words[@]/Korvanix-install.log/suppressed.log}"
check "SUPPRESSMSGBOXES, missing package: no window appeared" \
    no_window "$work/missing package, SUPPRESSMSGBOXES=1.watch"
check_log "SUPPRESSMSGBOXES, missing package: the log" "$logs_unix/suppressed.log" 1603
check "SUPPRESSMSGBOXES, missing package: the message in the log, answered OK" bash -c \
    'grep -A1 -F "message (notice): File :" "$1" | tail -1 | grep -q "message not shown (SUPPRESSMSGBOXES=1), answered OK"' \
    _ "$logs_unix/suppressed.log"
mv "$work/korv_global.exe" "$medium/files/korv_global.exe"

# --- SUPPRESSMSGBOXES=1 while the product runs ---------------------------------
# A copy of the fake package named korv.exe, waiting a minute, is the
# running product; it journals its start into a journal of its own.
mkdir -p "$work/running"
cp "$build/bin/fixtures/fakepkg.exe" "$work/running/korv.exe"
printf '[default]\r\nsleep_ms=60000\r\n' >"$work/running/fakepkg.ini"
KORV_JOURNAL="$win_work\\running.txt" "$src/tools/wine/run.sh" "$build" "$work/running/korv.exe" \
    >/dev/null 2>&1 </dev/null &
running_pid=$!
for _ in $(seq 1 200); do [[ -s "$work/running.txt" ]] && break; sleep 0.05; done
: >"$journal"
watched "product running, SUPPRESSMSGBOXES=1" 1602 "${install_words[@]/Korvanix-install.log/running.log}"
check "SUPPRESSMSGBOXES, product running: no window appeared" \
    no_window "$work/product running, SUPPRESSMSGBOXES=1.watch"
check "SUPPRESSMSGBOXES, product running: nothing started" test ! -s "$journal"
check "SUPPRESSMSGBOXES, product running: the product left running" kill -0 "$running_pid"
check "SUPPRESSMSGBOXES, product running: the question in the log, answered Cancel" bash -c \
    'grep -A1 -F "message (Retry, Force closed, Cancel): Korvanix is running" "$1" | tail -1 |
     grep -q "message not shown (SUPPRESSMSGBOXES=1), answered Cancel"' _ "$logs_unix/running.log"
check "SUPPRESSMSGBOXES, product running: the log ends with 1602" \
    test "$(tr -d '\r' <"$logs_unix/running.log" | tail -1 | cut -c26-)" == "exit code 1602"
kill "$running_pid" 2>/dev/null || true
wait "$running_pid" 2>/dev/null || true
running_pid=

# --- PLAN=1 of the silent uninstall, then the uninstall ------------------------
uninstall_words=(quiet=1 Uninstall=1 SUPPRESSMSGBOXES=1 "TARGETDIR=\"$target_win\"")
: >"$journal"
run "plan of the silent uninstall" 0 PLAN=1 "${uninstall_words[@]}"
check "uninstall plan: nothing started" test ! -s "$journal"
plan_programs "$work/plan of the silent uninstall.out" | grep -v '^msiexec ' >"$work/plan-uninstall.txt" || true
# The hand-over starts KUninstall from a folder made new at run time.
tr -d '\r' <"$work/plan of the silent uninstall.out" |
    sed -nE 's/^ +[0-9]+\. hand-over: .*, start ("[^"]*KorvUninstall-)<new>(\\KUninstall.exe" \/quiet \/norestart) and wait.*/\1\n\2/p' \
    >"$work/plan-handover.txt"
run "silent uninstall" 0 "${uninstall_words[@]}"
check "uninstall plan: the programs of the run, in order" \
    test "$(cat "$work/plan-uninstall.txt")" == "$(journal_lines | grep -v '^KUninstall.exe' | cut -f2)"
check "uninstall plan: KUninstall as the run started it, from a folder made new" \
    bash -c '[[ -n "$2" && "$1" == "$2"*"$3" ]]' _ "$(journal_lines | grep '^KUninstall.exe' | cut -f2)" \
    "$(sed -n 1p "$work/plan-handover.txt")" "$(sed -n 2p "$work/plan-handover.txt")"

# --- help -----------------------------------------------------------------
: >"$journal"
watched "help" 0 /?
check "help: printed to the console" grep -q '^Exit codes:' <(tr -d '\r' <"$work/help.out")
check "help: every exit code" bash -c 'for c in 0 3010 1602 1603 1618 1639; do grep -qE "^  $c " "$1" || exit 1; done' \
    _ "$work/help.out"
check "help: no window" no_window "$work/help.watch"
check "help: nothing started" test ! -s "$journal"
run "HELP=1 in another letter case" 0 help=1
# Started without a console (as Explorer starts it), the help is a message.
(run_program "help without a console" 0 --no-console "$win_medium\\Setup.exe" HELP=1 >"$work/help-tip.result") &
help_run=$!
check "help without a console: shown in a message, OK ends it" \
    "$src/tools/wine/run.sh" "$build" "$build/bin/uidriver.exe" click 1 --with 3016 --timeout 60
wait "$help_run" || true
cat "$work/help-tip.result"
grep -q '^FAIL' "$work/help-tip.result" && failures=$((failures + 1))
check "HELP=1: the same text" cmp -s "$work/help.out" "$work/HELP=1 in another letter case.out"
default_log=$(find "$prefix/drive_c/users" -maxdepth 6 -name 'KorvanixSetup_*.log' -newer "$marker" \
    -exec grep -l 'command line: .*Setup.exe" /?' {} + | head -1)
check "without LOG the log of /? goes to the temporary folder as KorvanixSetup_<yyyyMMdd_HHmmss>_<random>.log" \
    bash -c '[[ "$(basename "$1")" =~ ^KorvanixSetup_[0-9]{8}_[0-9]{6}_[0-9a-f]{16}\.log$ && "$(dirname "$1")" == */Temp ]]' _ \
    "$default_log"
run "PLAN=yes is refused" 1639 quiet=1 PLAN=yes

report_cases
