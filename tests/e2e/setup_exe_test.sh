#!/usr/bin/env bash
# Whole runs of Setup.exe under Wine, out of process, on a medium laid out by
# the medium builder: the exit codes a deployment tool sees, and what an
# unattended install and uninstall leave on the machine. The fake packages
# journal every start (tests/fixtures/fakepkg), so the journal tells which
# programs ran, in which order, with which command line.
#
#   setup_exe_test.sh SOURCE_DIR BUILD_DIR
#
# The runs use the real prefix registry and folders: everything they create
# is removed again at the end (and before the start, after a run that was
# cut short).
set -euo pipefail
src=$1
build=$(cd "$2" && pwd)
work="$build/e2e/setup_exe"
prefix="$build/wineprefix"
rm -rf "$work"
mkdir -p "$work"
medium="$work/medium"
"$src/tools/medium/make-medium.sh" "$medium" "$build" >/dev/null
"$src/tools/wine/machine-state.sh" "$build"
win_medium="Z:${medium//\//\\}"

target_name="Korvanix E2E"
target_unix="$prefix/drive_c/$target_name"
target_win="C:\\$target_name"
company_files="$prefix/drive_c/Program Files/Common Files/Tallowick"
setup_record='HKLM\SOFTWARE\Wow6432Node\Tallowick'
fixture_payload="$prefix/drive_c/Program Files (x86)/Korvanix Fixture/fixture_payload.txt"
export KORV_JOURNAL="Z:${work//\//\\}\\journal.txt"
journal="$work/journal.txt"

wine_reg() { "$src/tools/wine/run.sh" "$build" reg "$@" 2>/dev/null | tr -d '\r'; }

restart_product='{6A1E4C27-93B5-4D0F-8C62-1F7B3E9A5D48}'
fixture_product='{0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07}'
clean_machine() {
    rm -rf "$target_unix" "$company_files"
    for product in "$restart_product" "$fixture_product"; do
        "$src/tools/wine/run.sh" "$build" msiexec /x "$product" /qn >/dev/null 2>&1 </dev/null || true
    done
    wine_reg delete "$setup_record" /f >/dev/null || true
    find "$prefix/drive_c/users" -maxdepth 5 -type d -name 'KorvUninstall-*' -path '*/Temp/*' \
        -exec rm -rf {} + 2>/dev/null || true
}
clean_machine
trap clean_machine EXIT

# shellcheck source=tests/e2e/cases.sh
source "$src/tests/e2e/cases.sh"

# run ID EXPECTED_CODE WORDS...: runs Setup.exe with the words, fails the
# case when it does not end within 120 s (it would be waiting on a message)
# or ends with another code. With quoting=--unquoted the program path is
# not quoted, as a console or a deployment tool may start it.
quoting=
run() {
    local id=$1 expected=$2
    shift 2
    local output code
    output=$(timeout 120 "$src/tools/wine/run.sh" "$build" "$build/bin/wine-launch.exe" ${quoting:+"$quoting"} \
        "$win_medium\\Setup.exe" "$@" 2>&1) || true
    code=$(sed -n 's/^exit code: \([0-9]*\).*/\1/p' <<<"$output" | tr -d '\r')
    if [[ "$code" == "$expected" ]]; then
        echo "ok   $id: exit code $code"
    else
        fail "$id: expected exit code $expected, got '${code:-none (timed out or did not start)}'"
        echo "$output" | sed 's/^/     /'
    fi
}

# The journal as NAME<TAB>COMMAND LINE lines, without CR.
journal_lines() { [[ -f "$journal" ]] && tr -d '\r' <"$journal" || true; }

run "TARGETDIR that would add arguments" 1639 quiet=1 'TARGETDIR="D:\a"x"' /S
run "TARGETDIR with a pipe" 1639 'TARGETDIR=D:\a|b'
run "NUM that is not a number" 1639 quiet=1 NUM=4x4
run "TARGETDIR that is a drive root" 1639 quiet=1 'TARGETDIR=C:\'
run "TARGETDIR that is relative" 1639 quiet=1 TARGETDIR=Korv
check "refused command lines start nothing" test ! -e "$journal"

# --- unattended install --------------------------------------------------
# The stand-in packages install nothing, so the folder they would create is
# made here, with the product program (a fake that journals its
# registration) and a leftover uninst.exe that the install removes.
mkdir -p "$target_unix"
cp "$build/bin/fixtures/fakepkg.exe" "$target_unix/korv.exe"
cp "$build/bin/fixtures/fakepkg.exe" "$target_unix/uninst.exe"

# Started the way a deployment tool does: the program path unquoted, the
# folder quoted. Every word after the path counts.
quoting=--unquoted run "unattended install, program path unquoted" 0 quiet=1 "TARGETDIR=\"$target_win\\\"" NUM=44

m="$win_medium"
expected_install=$(cat <<EOF
vc_redist.x64.exe	"$m\\Msi\\vc_redist.x64.exe" -q -norestart
korv_kernel.exe	"$m\\files\\korv_kernel.exe" -passive -norestart
korv_korvfile.exe	"$m\\files\\korv_korvfile.exe" -passive -norestart
korv_global.exe	"$m\\files\\korv_global.exe" -passive -norestart
korv_local.exe	"$m\\files\\korv_local.exe" -passive -norestart
korv_resfile.exe	"$m\\files\\korv_resfile.exe" -passive -norestart
korv_help.exe	"$m\\files\\korv_help.exe" -passive -norestart
korv_encryption.exe	"$m\\files\\korv_encryption.exe" -passive -norestart
kvninst_x64.exe	"$m\\files\\kvninst_x64.exe" /S /D=$target_win
korv.exe	"$target_win\\korv.exe" -Regserver -nologo
EOF
)
actual_install=$(journal_lines)
if [[ "$(head -n 10 <<<"$actual_install")" == "$expected_install" ]]; then
    echo "ok   install: programs in order with their command lines"
else
    fail "install: journal differs"
    diff <(echo "$expected_install") <(echo "$actual_install") | sed 's/^/     /' || true
fi
configurator=$(sed -n 11p <<<"$actual_install")
expected_configurator="SetupWriter_x64.exe	\"$m\\files\\SetupWriter_x64.exe\" lang=en-us TARGETDIR=\"$target_win\" PRODUCTNAME="
check "install: configuration program last, with the folder and NUM=44" \
    bash -c '[[ "$1" == "$2"* && "$1" == *" PLATFORM=x64 NUM=44 WorkspaceName=1 "* && "$1" == *" -q" ]]' _ \
    "$configurator" "$expected_configurator"
check "install: nothing after the configuration program" test "$(wc -l <<<"$actual_install")" -eq 11
for file in Setup.exe IntallerRes.dll KUninstall Setup.ini; do
    check "install: $file copied into the folder" cmp -s "$target_unix/$file" \
        "$medium/$([[ $file == KUninstall ]] && echo KUninstall.exe || echo "$file")"
done
check "install: uninst.exe removed" test ! -e "$target_unix/uninst.exe"
check "install: the XML parser package installed through the Windows Installer" test -f "$fixture_payload"
record=$(wine_reg query "$setup_record\\Korvanix\\Korvanix_Setup" /v path)
check "install: setup record names the folder" grep -qF "$target_win" <<<"$record"
echo "     setup record: $(grep -F path <<<"$record" | tr -s ' ')"
check "install: install.log records the maker's folder under Common Files" \
    grep -qa 'CreateDirectory: ".*Common Files\\Tallowick" created' "$target_unix/install.log"

# --- unattended uninstall --------------------------------------------------
# KUninstall gets /quiet /norestart and is waited for; its folder is removed
# afterwards, so it copies what lay beside it into a snapshot for the checks.
: >"$journal"
snapshot="$work/handover-snapshot"
rm -rf "$snapshot" && mkdir -p "$snapshot"
printf '[KUninstall.exe]\r\nsnapshot_to=Z:%s\r\n' "${snapshot//\//\\}" >"$work/far.ini"
export KORV_FAKEPKG_INI="Z:${work//\//\\}\\far.ini"
run "unattended uninstall" 0 quiet=1 Uninstall=1 "TARGETDIR=\"$target_win\\\""
actual_uninstall=$(journal_lines)
check "uninstall: product program unregisters first" \
    test "$(sed -n 1p <<<"$actual_uninstall")" == "korv.exe	\"$target_win\\korv.exe\" -UnRegserver -nologo"
handover=$(sed -n 2p <<<"$actual_uninstall")
check "uninstall: KUninstall handed over quietly and waited for" \
    bash -c '[[ "$1" == "KUninstall.exe	"*'"'"'\KUninstall.exe" /quiet /norestart'"'"' ]]' _ "$handover"
check "uninstall: nothing else started" test "$(wc -l <<<"$actual_uninstall")" -eq 2
handover_path=$(sed -n 's/^KUninstall.exe\t"\(.*\)\\KUninstall.exe".*/\1/p' <<<"$handover")
handover_unix=$("$src/tools/wine/run.sh" "$build" winepath -u "$handover_path" 2>/dev/null | tr -d '\r')
check "uninstall: KUninstall ran from a folder of its own under Temp" \
    bash -c '[[ "$(basename "$1")" == KorvUninstall-* && "$(basename "$(dirname "$1")")" == Temp ]]' _ "$handover_unix"
check "uninstall: that folder is gone once KUninstall has ended" test ! -e "$handover_unix"
check "uninstall: the log beside KUninstall" cmp -s "$snapshot/install.log" "$target_unix/install.log"
check "uninstall: the resource library beside KUninstall" cmp -s "$snapshot/IntallerRes.dll" "$medium/IntallerRes.dll"
unset KORV_FAKEPKG_INI
check "uninstall: the product's MSI part removed" test ! -e "$fixture_payload"

# --- a package that needs a restart ---------------------------------------
# The 64-bit XML parser, whose failure would end the install, asks for a
# restart: the install goes on to its end and tells the deployment tool so.
cp "$build/bin/fixtures/fixture_restart.msi" "$medium/Msi/msxml6_x64.msi"
: >"$journal"
run "unattended install whose package needs a restart" 3010 quiet=1 "TARGETDIR=\"$target_win\\\""
check "restart: the install went on to the configuration program" \
    test "$(journal_lines | tail -1 | cut -f1)" == SetupWriter_x64.exe

report_cases
