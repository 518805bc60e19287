#!/usr/bin/env bash
# Whole runs of Setup.exe on hostile installation media, out of process: a
# Setup.ini of several megabytes, one with 100000 sections, one whose
# package count points at 1000 missing sections, a UTF-16 file with an odd
# byte count, and a medium whose folder path comes near MAX_PATH. Each run
# must end on its own with an exit code (no crash, no hang waiting on a
# message nobody answers), and a run that gets past reading Setup.ini ends
# the way the same run on a sound medium ends.
#
#   hostile_files_test.sh SOURCE_DIR BUILD_DIR
#
# The runs are unattended uninstalls of an installed copy that the registry
# records under the product name and language the medium's Setup.ini gives:
# a run ends with 0 only when it read Setup.ini well enough to find that
# copy, and handed it over to the copy's uninstaller (a journaling stand-in).
# The copy and its record are removed again at the end.
set -euo pipefail
src=$1
build=$(cd "$2" && pwd)
prefix="$build/wineprefix"
work="$build/e2e/hostile_files"
rm -rf "$work"
mkdir -p "$work"
medium="$work/medium"
"$src/tools/medium/make-medium.sh" "$medium" "$build" >/dev/null
"$src/tools/wine/machine-state.sh" "$build"
export KORV_JOURNAL="Z:${work//\//\\}\\journal.txt"

copy_name="Korvanix Hostile Copy"
copy_unix="$prefix/drive_c/$copy_name"
record='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Korvanix2024_en_us'
wine_reg() { "$src/tools/wine/run.sh" "$build" reg "$@" >/dev/null 2>&1; }
clean_machine() {
    rm -rf "$copy_unix"
    wine_reg delete "$record" /f || true
    wine_reg delete 'HKLM\SOFTWARE\Wow6432Node\Tallowick' /f || true
    rm -rf "$prefix/drive_c/Korvanix Hostile Target"
    find "$prefix/drive_c/users" -maxdepth 5 -type d -name 'KorvUninstall-*' -path '*/Temp/*' \
        -exec rm -rf {} + 2>/dev/null || true
}
clean_machine
trap clean_machine EXIT
mkdir -p "$copy_unix"
cp "$build/bin/fixtures/fakepkg.exe" "$copy_unix/KUninstall"
cp "$medium/IntallerRes.dll" "$copy_unix/IntallerRes.dll"
printf '\r\r\nCreateDirectory: "C:\\%s" (0)' "$copy_name" >"$copy_unix/install.log"
wine_reg add "$record" /v Platform /d x64 /f
wine_reg add "$record" /v InstallLocation /d "C:\\$copy_name" /f

# shellcheck source=tests/e2e/cases.sh
source "$src/tests/e2e/cases.sh"

# run ID MEDIUM_DIR EXPECTED_CODE [WORDS...]: runs Setup.exe from the medium
# with the words (default: an unattended uninstall); fails the case when it
# does not end within 120 s or ends with another code.
run() {
    local id=$1 dir=$2 expected=$3
    shift 3
    (($# > 0)) || set -- quiet=1 Uninstall=1
    local win="Z:${dir//\//\\}" output code
    output=$(timeout 120 "$src/tools/wine/run.sh" "$build" "$build/bin/wine-launch.exe" "$win\\Setup.exe" \
        "$@" 2>&1) || true
    code=$(sed -n 's/^exit code: \([0-9]*\).*/\1/p' <<<"$output" | tr -d '\r')
    if [[ "$code" == "$expected" ]]; then
        echo "ok   $id: exit code $code"
    else
        fail "$id: expected exit code $expected, got '${code:-none (timed out, crashed or did not start)}'"
        echo "$output" | sed 's/^/     /'
    fi
}

ini="$medium/Setup.ini"
cp "$ini" "$work/Setup.ini.sound"
sound() { cp "$work/Setup.ini.sound" "$ini"; }

run "sound medium" "$medium" 0

# Several megabytes: a package list of 500000 items, a value of a megabyte
# and thousands of keys nobody reads.
sound
python3 - "$ini" <<'PY'
import sys
with open(sys.argv[1], "ab") as f:
    f.write(b"\r\n[sub1]\r\npackage=" + b";".join(b"p%06d.exe" % i for i in range(500000)) + b"\r\n")
    f.write(b"[MigrateCustomSettings]\r\nMIGRATEFOLDERNAME=" + b"x" * (1 << 20) + b"\r\n")
    f.write(b"".join(b"[junk]\r\nkey%d=%s\r\n" % (i, b"v" * 40) for i in range(20000)))
PY
run "Setup.ini of $(($(stat -c %s "$ini") / 1048576)) MB" "$medium" 0

# 100000 sections, the package sections among them.
sound
python3 - "$ini" <<'PY'
import sys
with open(sys.argv[1], "ab") as f:
    f.write(b"".join(b"\r\n[s%d]\r\nk=v" % i for i in range(100000)))
PY
run "Setup.ini with 100000 sections" "$medium" 0

# A count of 1000 pointing at sections that are not there.
sound
sed -i 's/^count=.*/count=1000\r/' "$ini"
run "count of 1000, sections missing" "$medium" 0

# UTF-16 with a byte-order mark, cut in the middle of its last character.
sound
python3 - "$ini" <<'PY'
import sys
path = sys.argv[1]
text = open(path, "rb").read().decode("cp1252")
open(path, "wb").write(b"\xff\xfe" + text.encode("utf-16-le") + b"\x41")
PY
run "UTF-16 Setup.ini with an odd byte count" "$medium" 0

# The medium in a folder whose Windows path, with \Setup.exe, is 250
# characters long.
sound
base="Z:${work//\//\\}"
room=$((250 - ${#base} - 1 - 10))  # "\" and "\Setup.exe" around the folder name
deep="$work/$(printf 'd%.0s' $(seq 1 "$room"))"
mkdir -p "$deep"
cp -r "$medium/." "$deep/"
run "medium folder near MAX_PATH" "$deep" 0
# Installing from there: the first prerequisite's command line no longer
# fits its buffer, so it is not started, and the run ends as failed (its
# notice answered unseen).
run "unattended install from a medium near MAX_PATH" "$deep" 1603 quiet=1 SUPPRESSMSGBOXES=1 \
    'TARGETDIR="C:\Korvanix Hostile Target\"'
check_started_nothing() { ! grep -qv '^KUninstall' <(tr -d '\r' <"$work/journal.txt" | cut -f1); }
if check_started_nothing; then echo "ok   nothing but the uninstaller was started"; else fail "a package was started"; fi


# Names and values of Setup.ini that would step out of their folders or
# their fields of a command line: the run is refused before anything starts
# (the Setup.ini error, 1603); a package item that names a file outside
# files\ or Msi\ fails the install as a missing file would, and the file
# it names never runs.
target_unix="$prefix/drive_c/Korvanix Hostile Target"
set_ini() {  # set_ini SECTION KEY VALUE: replaces (or adds) one value of the medium's Setup.ini
    python3 - "$ini" "$@" <<'PY'
import re, sys
path, section, key, value = sys.argv[1:5]
text = open(path, "rb").read().decode("cp1252").replace("\r\n", "\n")
head = "[" + section + "]\n"
if head not in text:
    text += "\n" + head
start = text.index(head) + len(head)
end = text.find("\n[", start)
end = len(text) if end < 0 else end + 1
body = re.sub(r"(?m)^" + re.escape(key) + r"=.*\n", "", text[start:end])
text = text[:start] + key + "=" + value + "\n" + body + text[end:]
open(path, "wb").write(text.replace("\n", "\r\n").encode("cp1252"))
PY
}
install_words=(quiet=1 SUPPRESSMSGBOXES=1 'TARGETDIR="C:\Korvanix Hostile Target\"')
refused_ini() {  # refused_ini ID SECTION KEY VALUE
    sound
    set_ini "$2" "$3" "$4"
    rm -f "$work/journal.txt"
    rm -rf "$target_unix"
    run "$1" "$medium" 1603 "${install_words[@]}"
    if [[ -s "$work/journal.txt" ]]; then fail "$1: a program was started"; fi
    if [[ -e "$target_unix" ]]; then fail "$1: the installation folder was created"; fi
}
refused_ini "COMPANYNAME=..\\..\\Windows" SETUP COMPANYNAME '..\..\Windows'
refused_ini "a shortcut name with a backslash" MigrateCustomSettings EXPORT 'sub\Export settings'
refused_ini "a shortcut folder name with a colon" MigrateCustomSettings MIGRATEFOLDERNAME 'C:x'
refused_ini "VERSION with a second TARGETDIR" SETUP VERSION '21.0 TARGETDIR="C:\Windows"'
refused_ini "COMPANYNAME with a quote" SETUP COMPANYNAME 'Tall" TARGETDIR="C:\Windows'

# These runs install: no installed copy may be recorded, or the words would
# choose another run mode.
cp "$build/bin/fixtures/fakepkg.exe" "$medium/evil.exe"
for item in '..\evil.exe' 'korv_ifc.exe;..\..\evil.msi' 'C:evil.exe'; do
    sound
    set_ini sub1 package "$item"
    set_ini sub1 check 1
    clean_machine
    rm -f "$work/journal.txt"
    run "package=$item" "$medium" 1603 "${install_words[@]}"
    if tr -d '\r' <"$work/journal.txt" 2>/dev/null | cut -f1 | grep -qi 'evil'; then
        fail "package=$item: the file outside files\\ and Msi\\ was started"
    else
        echo "ok   package=$item: nothing outside files\\ and Msi\\ started"
    fi
done
rm -f "$medium/evil.exe"
sound

report_cases
