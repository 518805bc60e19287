#!/bin/bash
# Setup.exe's import table names only libraries Windows takes from the system
# folder whatever lies beside the program: the KnownDLLs, and the common
# controls, which the manifest binds to the system's side-by-side assembly.
# Every other library (WinInet, CNG, GDI+) must be bound at run time, after
# the search is limited to the system folder.
#   check_imports.sh OBJDUMP Setup.exe
set -u
objdump=$1 program=$2
allowed=" advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll "
names=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$names" ] || { echo "no import table read from $program"; exit 1; }
status=0
for name in $names; do
    case "$allowed" in
    *" $name "*) ;;
    *) echo "Setup.exe imports $name at start (it is looked for beside the program first)"; status=1 ;;
    esac
done
"$objdump" -p "$program" | grep -qi "delay import\|DelayImport" || echo "note: no delay-import table found"
exit $status
