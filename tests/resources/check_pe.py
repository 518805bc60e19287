#!/usr/bin/python3
"""Linux-side checks of the built Windows files, read with pefile (no Wine).

  check_pe.py strings   IntallerRes.dll strings-en.json
  check_pe.py data-only IntallerRes.dll
  check_pe.py setup     Setup.exe

Exit codes: 0 pass, 1 fail (every finding is printed), 2 bad usage or an
unreadable file, 77 skipped (Setup.exe has not been built).
"""
import json
import os
import struct
import sys

import pefile

RT_ICON = 3
RT_STRING = 6
RT_GROUP_ICON = 14
RT_MANIFEST = 24

IDI_APP = 128
ICON_SIZES = {16, 32, 48, 256}

# System DLLs Setup.exe may import; everything else would have to ship beside
# it on the medium. Compared case-insensitively; api-ms-win-crt-* and the
# other API sets are system DLLs as well.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
    "ole32.dll", "oleaut32.dll", "comctl32.dll", "gdiplus.dll", "shlwapi.dll",
    "msvcrt.dll", "wininet.dll", "version.dll", "bcrypt.dll", "uxtheme.dll",
    "comdlg32.dll", "msimg32.dll", "msi.dll", "urlmon.dll", "winmm.dll",
    "crypt32.dll", "ws2_32.dll", "psapi.dll", "userenv.dll", "ntdll.dll",
    "rpcrt4.dll", "imm32.dll", "dwmapi.dll", "shcore.dll", "secur32.dll",
}


def load(path):
    try:
        return pefile.PE(path)
    except (OSError, pefile.PEFormatError) as error:
        print(f"cannot read {path}: {error}")
        sys.exit(2)


def resource_entries(pe, type_id):
    """(name id, language, bytes) of every resource of one type."""
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    if root is None:
        return []
    found = []
    for type_entry in root.entries:
        if type_entry.id != type_id:
            continue
        for name_entry in type_entry.directory.entries:
            for lang_entry in name_entry.directory.entries:
                data = lang_entry.data.struct
                raw = pe.get_data(data.OffsetToData, data.Size)
                found.append((name_entry.id, lang_entry.id, raw))
    return found


def string_table(pe):
    """{language: {string id: text}} decoded from the RT_STRING bundles.

    Bundle n holds the ids 16 (n - 1) to 16 (n - 1) + 15, each as a 16-bit
    length followed by that many UTF-16 units; a length of 0 is no text."""
    tables = {}
    for bundle, language, raw in resource_entries(pe, RT_STRING):
        texts = tables.setdefault(language, {})
        offset = 0
        for index in range(16):
            (length,) = struct.unpack_from("<H", raw, offset)
            offset += 2
            if length:
                texts[(bundle - 1) * 16 + index] = raw[offset:offset + 2 * length].decode("utf-16-le")
            offset += 2 * length
    return tables


def icon_sizes(pe, group_id):
    """Pixel sizes of the frames of one icon group (256 is stored as 0)."""
    for name, _, raw in resource_entries(pe, RT_GROUP_ICON):
        if name != group_id:
            continue
        _, _, count = struct.unpack_from("<HHH", raw, 0)
        return {raw[6 + 14 * i] or 256 for i in range(count)}
    return None


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


def check_strings(dll, golden_path):
    with open(golden_path, encoding="utf-8") as f:
        golden = json.load(f)
    expected = {int(k): v for k, v in golden["texts"].items()}
    language = golden["language"]

    tables = string_table(load(dll))
    problems = []
    if set(tables) != {language}:
        problems.append(f"string table languages {sorted(tables)}, expected only {language}")
    actual = tables.get(language, {})

    for text_id, text in sorted(expected.items()):
        got = actual.get(text_id)
        if text == "":
            if got:
                problems.append(f"id {text_id}: expected no text (the program's default), found {got!r}")
        elif got is None:
            problems.append(f"id {text_id}: missing, expected {text!r}")
        elif got != text:
            at = first_difference(got, text)
            problems.append(f"id {text_id}: differs at character {at}:\n"
                            f"    found    {got!r}\n    expected {text!r}")
    for text_id in sorted(set(actual) - set(expected)):
        problems.append(f"id {text_id}: not a text the program looks up: {actual[text_id]!r}")
    return problems


def check_data_only(dll):
    pe = load(dll)
    problems = []
    if not pe.is_dll():
        problems.append("not a DLL")
    if pe.OPTIONAL_HEADER.AddressOfEntryPoint != 0:
        problems.append(f"has an entry point at {pe.OPTIONAL_HEADER.AddressOfEntryPoint:#x}")
    imports = [entry.dll.decode() for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])]
    if imports:
        problems.append(f"imports {imports}")
    if getattr(pe, "DIRECTORY_ENTRY_EXPORT", None) is not None:
        problems.append("has an export directory")
    for section in pe.sections:
        name = section.Name.rstrip(b"\0").decode()
        if section.Characteristics & (pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_EXECUTE"]
                                      | pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_CNT_CODE"]):
            problems.append(f"section {name} holds code")
    sizes = icon_sizes(pe, IDI_APP)
    if sizes is None:
        problems.append(f"no icon {IDI_APP}")
    elif not ICON_SIZES <= sizes:
        problems.append(f"icon {IDI_APP} has sizes {sorted(sizes)}, needs {sorted(ICON_SIZES)}")
    return problems


def check_setup(exe):
    if not os.path.exists(exe):
        print(f"skipped: {exe} is not built")
        sys.exit(77)
    pe = load(exe)
    problems = []
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        name = entry.dll.decode()
        lower = name.lower()
        if lower not in SYSTEM_DLLS and not lower.startswith("api-ms-win-"):
            problems.append(f"imports {name}, which is not a Windows system DLL")

    manifests = [(name, raw) for name, _, raw in resource_entries(pe, RT_MANIFEST)]
    if [name for name, _ in manifests] != [1]:
        problems.append(f"manifest ids {[name for name, _ in manifests]}, expected exactly [1]")
    else:
        text = manifests[0][1].decode("utf-8", errors="replace")
        for needle in ('level="requireAdministrator"', 'name="Microsoft.Windows.Common-Controls"',
                       "<dpiAware", "<dpiAwareness"):
            if needle not in text:
                problems.append(f"manifest lacks {needle}")
    if icon_sizes(pe, IDI_APP) is None:
        problems.append(f"no icon {IDI_APP}")
    return problems


def main(argv):
    commands = {"strings": (check_strings, 2), "data-only": (check_data_only, 1), "setup": (check_setup, 1)}
    if len(argv) < 2 or argv[1] not in commands or len(argv) - 2 != commands[argv[1]][1]:
        print(__doc__)
        return 2
    check, _ = commands[argv[1]]
    problems = check(*argv[2:])
    for problem in problems:
        print(problem)
    if problems:
        print(f"FAILED: {argv[1]} {' '.join(argv[2:])}")
        return 1
    print(f"passed: {argv[1]} {' '.join(argv[2:])}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
