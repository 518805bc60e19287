#!/usr/bin/env bash
# Checks tools/medium/make-medium.sh: a medium holds every file the setup
# program looks for under the name and in the folder it uses, its Setup.ini
# carries every key the setup reads and names only files that are there, the
# programs on it journal their exact command line under Wine, and the builder
# refuses what it cannot do without touching anything.
#
#   medium_test.sh SOURCE_DIR BUILD_DIR
#
# Setup.exe and IntallerRes.dll are stand-ins here: the builder only copies
# them, and this test must not wait for the program to be built.
set -uo pipefail

source_dir=$(cd "${1:?usage: medium_test.sh SOURCE_DIR BUILD_DIR}" && pwd)
build=$(cd "${2:?usage: medium_test.sh SOURCE_DIR BUILD_DIR}" && pwd)
make_medium=$source_dir/tools/medium/make-medium.sh

failures=0
fail() {
    echo "FAIL [$1] $2" >&2
    failures=$((failures + 1))
}

work=$(mktemp -d "$build/medium-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
printf 'Setup.exe stand-in' >"$work/Setup.exe"
printf 'IntallerRes.dll stand-in' >"$work/IntallerRes.dll"
standins=(--setup-exe "$work/Setup.exe" --res-dll "$work/IntallerRes.dll")

# ini_value FILE SECTION KEY: the value, sections and keys without regard to
# case as the Windows profile functions read them; exit 1 when absent.
ini_value() {
    awk -v want_section="$(tr '[:upper:]' '[:lower:]' <<<"$2")" -v want_key="$(tr '[:upper:]' '[:lower:]' <<<"$3")" '
        { sub(/\r$/, "") }
        /^[[:space:]]*\[/ { s = $0; gsub(/^[[:space:]]*\[|\][[:space:]]*$/, "", s); section = tolower(s); next }
        section == want_section && index($0, "=") > 0 {
            k = substr($0, 1, index($0, "=") - 1); gsub(/^[[:space:]]+|[[:space:]]+$/, "", k)
            if (tolower(k) == want_key) { print substr($0, index($0, "=") + 1); found = 1; exit }
        }
        END { exit found ? 0 : 1 }' "$1"
}

# --- the default medium -------------------------------------------------------
medium="$work/medium one"
if ! "$make_medium" "$medium" "$build" "${standins[@]}" >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    fail build "make-medium.sh failed on a fresh folder"
    exit 1
fi

fakepkg=$build/bin/fixtures/fakepkg.exe
ok_msi=$build/bin/fixtures/fixture_ok.msi
# The names the setup program starts or copies, in the folders it uses.
expected_programs=(
    KUninstall.exe
    Msi/WindowsInstaller-KB893803-v2-x86.exe Msi/vc_redist.x86.exe Msi/vc_redist.x64.exe Msi/vcredist_x64_10.exe
    files/korv_kernel.exe files/korv_korvfile.exe files/korv_global.exe files/korv_local.exe
    files/korv_resfile.exe files/korv_help.exe files/korv_encryption.exe
    files/kvninst_x64.exe files/kvninst_x86.exe files/SetupWriter_x64.exe files/SetupWriter.exe
)
for path in "${expected_programs[@]}"; do
    cmp -s "$fakepkg" "$medium/$path" || fail "program $path" "missing or not a copy of fakepkg.exe"
done
for path in Msi/msxml6_x64.msi Msi/msxml6.msi; do
    cmp -s "$ok_msi" "$medium/$path" || fail "package $path" "missing or not a copy of fixture_ok.msi"
done
cmp -s "$work/Setup.exe" "$medium/Setup.exe" || fail Setup.exe "not the given program"
cmp -s "$work/IntallerRes.dll" "$medium/IntallerRes.dll" || fail IntallerRes.dll "not the given library"

# Every key the setup reads from Setup.ini.
ini="$medium/Setup.ini"
for key in SETUP/COMPANYNAME SETUP/VERSION SETUP/WOW64 SETUP/PATH x64/SETUP_DEST x86/SETUP_DEST \
    RES/LANGUAGE RES/NetTest packnum/count SETUP/CLASSIC SETUP/NUM SETUP/TEXTCLRR SETUP/TEXTCLRG \
    SETUP/TEXTCLRB SETUP/BETA MigrateCustomSettings/MIGRATEFOLDERNAME MigrateCustomSettings/MIGRATEPREVIOUS \
    MigrateCustomSettings/EXPORT MigrateCustomSettings/IMPORT MigrateCustomSettings/RESET \
    MigrateCustomSettings/VERSION InfoCollection/GlobalServer InfoCollection/Channel \
    SETUP/PrivacyPolicy SETUP/SystemRequire SETUP/LicenseAgree; do
    value=$(ini_value "$ini" "${key%%/*}" "${key#*/}") || fail "key $key" "missing from Setup.ini"
    [[ "$value" != *@*@* ]] || fail "key $key" "template word left in '$value'"
done
[[ "$(ini_value "$ini" SETUP WOW64)" == 1 && "$(ini_value "$ini" SETUP BETA)" == 0 ]] ||
    fail "default variant" "expected WOW64=1 and BETA=0"

for key in PrivacyPolicy SystemRequire LicenseAgree; do
    doc=$(ini_value "$ini" SETUP "$key")
    [[ -s "$medium/$doc" ]] || fail "document $key" "'$doc' named by Setup.ini is not on the medium"
done

# Every item of every package lies where the setup looks for it: ".exe"
# (that exact case) in files\, anything else in Msi\; the spreadsheet-table
# package in both bitnesses, since the setup swaps them to match Office.
count=$(ini_value "$ini" packnum count)
[[ "$count" -ge 3 ]] || fail packages "expected several packages, count=$count"
seen_pair=0
for ((i = 1; i <= count; i++)); do
    list=$(ini_value "$ini" "sub$i" package) || { fail "sub$i" "no package key"; continue; }
    [[ "$list" == *";"* ]] && seen_pair=1
    IFS=';' read -ra items <<<"$list"
    for item in "${items[@]}"; do
        if [[ "$item" == *.exe ]]; then
            cmp -s "$fakepkg" "$medium/files/$item" || fail "sub$i $item" "not in files\\ as a program"
        else
            cmp -s "$ok_msi" "$medium/Msi/$item" || fail "sub$i $item" "not in Msi\\ as a package"
        fi
        if [[ "$item" == *AutoSheetgrid* ]]; then
            for twin in "${item//x86/x64}" "${item//x64/x86}"; do
                [[ -f "$medium/Msi/$twin" ]] || fail "sub$i $twin" "other bitness missing"
            done
        fi
    done
done
[[ $seen_pair == 1 ]] || fail packages "no package with two items"
for name in "IFC Beta" AutoSheetgrid; do
    grep -q "^name=$name"$'\r'"\$" "$ini" || fail packages "no package named '$name'"
done

# --- a program on the medium journals its exact command line under Wine ------
journal="$work/journal.txt"
windows_medium="Z:${medium//\//\\}"
KORV_JOURNAL="Z:${journal//\//\\}" "$source_dir/tools/wine/run.sh" "$build" \
    "$windows_medium\\Msi\\vc_redist.x64.exe" /q /norestart >/dev/null 2>&1 ||
    fail journal "vc_redist.x64.exe did not run under Wine"
# Wine quotes a program path with a blank in it when it builds the command line.
expected=$'vc_redist.x64.exe\t"'"$windows_medium"$'\\Msi\\vc_redist.x64.exe" /q /norestart\r'
if [[ ! -f "$journal" ]]; then
    fail journal "no journal written"
elif [[ "$(cat "$journal")" != "$expected" ]]; then
    fail journal "expected '$expected', got '$(cat "$journal")'"
fi

# --- variants -----------------------------------------------------------------
"$make_medium" "$work/x86 beta" "$build" "${standins[@]}" --variant x86 --variant beta \
    --language zh_cn --server 'http://127.0.0.1:9/a?b=1&c=2' >/dev/null 2>&1 || fail variant "x86 beta build failed"
ini="$work/x86 beta/Setup.ini"
[[ "$(ini_value "$ini" SETUP WOW64)" == 0 ]] || fail variant "x86 medium without WOW64=0"
[[ "$(ini_value "$ini" SETUP BETA)" == 1 ]] || fail variant "beta medium without BETA=1"
[[ "$(ini_value "$ini" RES LANGUAGE)" == zh_cn ]] || fail variant "language not taken"
[[ "$(ini_value "$ini" InfoCollection GlobalServer)" == 'http://127.0.0.1:9/a?b=1&c=2' ]] ||
    fail variant "server address not taken literally"
grep -q "^package=AutoSheetgrid_x86.msi"$'\r'"\$" "$ini" || fail variant "x86 medium should list AutoSheetgrid_x86.msi"

# --- refusals -------------------------------------------------------------------
# id | OUT_DIR | BUILD_DIR | with stand-ins | more options | exit status | text the message must hold
mkdir -p "$work/empty build" "$work/foreign"
echo keep >"$work/foreign/keep.txt"
refusals=(
    "no Setup.exe|$work/r1|$work/empty build|no||1|Setup.exe is not built"
    "unknown variant|$work/r2|$build|yes|--variant arm|2|unknown variant"
    "foreign folder|$work/foreign|$build|yes|--replace|1|holds no Setup.ini"
    "medium present|$medium|$build|yes||1|not empty"
)
for row in "${refusals[@]}"; do
    IFS='|' read -r id out build_arg with_standins extra status text <<<"$row"
    args=()
    [[ $with_standins == yes ]] && args+=("${standins[@]}")
    # shellcheck disable=SC2206
    args+=($extra)
    message=$("$make_medium" "$out" "$build_arg" "${args[@]}" 2>&1 >/dev/null)
    got=$?
    [[ $got == "$status" ]] || fail "refuse $id" "exit status $got, expected $status"
    [[ "$message" == *"$text"* ]] || fail "refuse $id" "message '$message' lacks '$text'"
done
[[ -f "$work/foreign/keep.txt" ]] || fail "refuse foreign folder" "deleted a file it does not own"
[[ ! -e "$work/r1" ]] || fail "refuse no Setup.exe" "left a half-built medium"
cmp -s "$fakepkg" "$medium/KUninstall.exe" || fail "refuse medium present" "changed the existing medium"

# Rebuilding an earlier medium in place is allowed with --replace.
"$make_medium" "$medium" "$build" "${standins[@]}" --replace >/dev/null 2>&1 || fail replace "rebuild with --replace failed"

if [[ $failures -gt 0 ]]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "medium builder: all checks passed"
