#!/usr/bin/env bash
# Lays out a Korvanix 2024 installation medium from a build folder, for the
# end-to-end tests and the demo.
#
#   make-medium.sh OUT_DIR BUILD_DIR [options]
#
#   OUT_DIR     folder to create; it must not exist or be empty (see --replace)
#   BUILD_DIR   a build folder with bin/Setup.exe, bin/IntallerRes.dll and the
#               test fixtures bin/fixtures/fakepkg.exe and fixture_ok.msi
#
#   --variant x64     a medium of the 64-bit edition: WOW64=1 (the default)
#   --variant x86     a medium of the 32-bit edition: WOW64=0
#   --variant beta    a beta medium: BETA=1 (combine: --variant x86 --variant beta)
#   --language CODE   [RES] LANGUAGE (default en_us)
#   --server URL      [InfoCollection] GlobalServer, the advertisement service
#                     (default http://127.0.0.1:8642, nothing listens there
#                     unless a test or the demo starts a service)
#   --setup-exe FILE  take Setup.exe from FILE instead of BUILD_DIR/bin
#   --res-dll FILE    take IntallerRes.dll from FILE instead of BUILD_DIR/bin
#   --replace         empty OUT_DIR first when it holds an earlier medium
#                     (a folder with a Setup.ini); any other content is refused
#   --sign KEY        write and sign Setup.manifest with the private key in the
#                     PEM file KEY (sign-medium.py; keys/demo-medium-signing.pem
#                     is the demo key the default build trusts)
#
# The medium:
#   Setup.exe, IntallerRes.dll, Setup.ini (from Setup.ini.in beside this
#   script), KUninstall.exe, the three documents Setup.ini names (docs/),
#   Msi\   the prerequisites and installer packages the setup starts,
#   files\ the product packages, collaboration-system installer, configuration
#          programs, and the programs of the optional packages.
# Every program is a copy of fakepkg.exe (it journals its start, see
# tests/fixtures/fakepkg/main.cpp) and every installer package a copy of
# fixture_ok.msi. The optional packages' files are taken from the
# "package=" lists of the generated Setup.ini, so adding a [subN] section to
# the template is enough. To take a file away for a test, delete it from the
# built medium.
set -euo pipefail

# The files the setup program starts from a medium by fixed name.
ROOT_PROGRAMS=(KUninstall.exe)
MSI_PROGRAMS=(
    WindowsInstaller-KB893803-v2-x86.exe
    vc_redist.x86.exe
    vc_redist.x64.exe
    vcredist_x64_10.exe
)
MSI_PACKAGES=(msxml6_x64.msi msxml6.msi)
FILES_PROGRAMS=(
    korv_kernel.exe korv_korvfile.exe korv_global.exe korv_local.exe korv_resfile.exe
    korv_help.exe korv_encryption.exe
    kvninst_x64.exe kvninst_x86.exe
    SetupWriter_x64.exe SetupWriter.exe
)
DOCUMENTS=(PrivacyPolicy.html SystemRequirements.html LicenseAgreement.rtf)

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

usage() {
    sed -n '5,24p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

die() {
    echo "make-medium: $*" >&2
    exit 1
}

[[ $# -ge 2 ]] || usage
out=$1
build=$2
shift 2

wow64=1
beta=0
language=en_us
server=http://127.0.0.1:8642
setup_exe=
res_dll=
replace=0
sign_key=
while [[ $# -gt 0 ]]; do
    case "$1" in
        --variant)
            case "${2:-}" in
                x64) wow64=1 ;;
                x86) wow64=0 ;;
                beta) beta=1 ;;
                *) echo "make-medium: unknown variant '${2:-}' (x64, x86 or beta)" >&2; exit 2 ;;
            esac
            shift 2 ;;
        --language) language=${2:?--language needs a code}; shift 2 ;;
        --server) server=${2:?--server needs an address}; shift 2 ;;
        --setup-exe) setup_exe=${2:?--setup-exe needs a file}; shift 2 ;;
        --res-dll) res_dll=${2:?--res-dll needs a file}; shift 2 ;;
        --replace) replace=1; shift ;;
        --sign) sign_key=${2:?--sign needs a private key file}; shift 2 ;;
        -h|--help) usage ;;
        *) echo "make-medium: unknown option '$1'" >&2; usage ;;
    esac
done

[[ -d "$build" ]] || die "build folder '$build' does not exist"
setup_exe=${setup_exe:-$build/bin/Setup.exe}
res_dll=${res_dll:-$build/bin/IntallerRes.dll}
fakepkg=$build/bin/fixtures/fakepkg.exe
ok_msi=$build/bin/fixtures/fixture_ok.msi

[[ -f "$setup_exe" ]] || die "$setup_exe is not built yet: build the setup program first (cmake --build $build)"
[[ -f "$res_dll" ]] || die "$res_dll is not built yet: build the resource library first (cmake --build $build)"
[[ -f "$fakepkg" && -f "$ok_msi" ]] ||
    die "the test fixtures are missing in $build/bin/fixtures: configure with -DKORV_BUILD_TESTS=ON and build the targets fakepkg and fixture_msis"

if [[ -e "$out" && ! -d "$out" ]]; then
    die "'$out' exists and is not a folder"
fi
if [[ -d "$out" && -n "$(ls -A "$out")" ]]; then
    if [[ $replace == 1 && -f "$out/Setup.ini" ]]; then
        # Only the contents go, so a path that names something else by
        # mistake is refused above rather than emptied.
        find "$out" -mindepth 1 -delete
    elif [[ $replace == 1 ]]; then
        die "'$out' is not empty and holds no Setup.ini: not replacing it"
    else
        die "'$out' is not empty (use --replace to rebuild an earlier medium there)"
    fi
fi
mkdir -p "$out/Msi" "$out/files"

cp "$setup_exe" "$out/Setup.exe"
cp "$res_dll" "$out/IntallerRes.dll"

# The spreadsheet-table package is named after the product's bitness; the
# setup swaps x86/x64 in the name to match Office, so both lie in Msi\.
if [[ $wow64 == 1 ]]; then sheetgrid=AutoSheetgrid_x64.msi; else sheetgrid=AutoSheetgrid_x86.msi; fi
literal() {  # a text as the replacement of a sed "s|...|...|" command
    printf '%s' "$1" | sed -e 's/[\\|&]/\\&/g'
}
sed -e '/^#/d' \
    -e "s|@WOW64@|$wow64|" -e "s|@BETA@|$beta|" -e "s|@LANGUAGE@|$(literal "$language")|" \
    -e "s|@SERVER@|$(literal "$server")|" -e "s|@SHEETGRID@|$sheetgrid|" \
    -e 's/$/\r/' "$here/Setup.ini.in" >"$out/Setup.ini"
if grep -q '@[A-Z0-9]*@' "$out/Setup.ini"; then
    die "Setup.ini.in holds a word the builder does not fill in: $(grep -o '@[A-Z0-9]*@' "$out/Setup.ini" | head -1)"
fi

for doc in "${DOCUMENTS[@]}"; do
    cp "$here/docs/$doc" "$out/$doc"
done

place() {  # place FOLDER NAME: a program or an installer package under NAME
    case "$2" in
        *.exe) cp "$fakepkg" "$1/$2" ;;
        *) cp "$ok_msi" "$1/$2" ;;
    esac
}

for name in "${ROOT_PROGRAMS[@]}"; do place "$out" "$name"; done
for name in "${MSI_PROGRAMS[@]}" "${MSI_PACKAGES[@]}"; do place "$out/Msi" "$name"; done
for name in "${FILES_PROGRAMS[@]}"; do place "$out/files" "$name"; done

# The product's first package creates the installation folder that the
# setup registry record names, as the real one does.
printf '%s\r\n' '[korv_kernel.exe]' 'folder_key=SOFTWARE\Tallowick\Korvanix\Korvanix_Setup' 'folder_value=path' \
    >"$out/files/fakepkg.ini"

# The optional packages: the setup runs an item ending in ".exe" (exactly
# that case) from files\ and installs every other item from Msi\.
while IFS= read -r list; do
    IFS=';' read -ra items <<<"$list"
    for item in "${items[@]}"; do
        [[ -n "$item" ]] || continue
        if [[ "$item" == *.exe ]]; then
            place "$out/files" "$item"
        else
            place "$out/Msi" "$item"
            if [[ "$item" == *AutoSheetgrid* ]]; then
                place "$out/Msi" "${item//x86/x64}"
                place "$out/Msi" "${item//x64/x86}"
            fi
        fi
    done
done < <(sed -n 's/\r$//; s/^[[:space:]]*[Pp][Aa][Cc][Kk][Aa][Gg][Ee][[:space:]]*=//p' "$out/Setup.ini")

if [[ -n "$sign_key" ]]; then
    python3 "$here/sign-medium.py" "$out" --key "$sign_key" >/dev/null
fi
echo "make-medium: medium ready in $out ($(find "$out" -type f | wc -l) files)"
