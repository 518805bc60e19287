#include "engine/LogEntries.h"

namespace korv {

namespace {

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

}  // namespace

std::wstring FolderCreatedEntry(const std::wstring& folder) {
    return L"CreateDirectory: " + Quoted(folder) + L" (0)";
}

std::wstring FolderCreatedDoneEntry(const std::wstring& folder) {
    return L"CreateDirectory: " + Quoted(folder) + L" created";
}

// The blank after the target is where an argument string would stand; the
// uninstaller expects it even though arguments are never logged.
std::wstring ShortcutLogEntry(const std::wstring& link, const std::wstring& target) {
    return L"CreateShortCut: out: " + Quoted(link) + L", in: " + Quoted(target + L" ") + L", icon: ,0, sw=0, hk=0";
}

std::wstring RegStrLogEntry(const std::wstring& keyPath, const std::wstring& name, const std::wstring& value) {
    return L"WriteRegStr: " + Quoted(L"HKEY_LOCAL_MACHINE\\" + keyPath) + L" " + Quoted(name) + L"=" + Quoted(value);
}

std::wstring RegDwordLogEntry(const std::wstring& keyPath, const std::wstring& name, const std::wstring& value) {
    return L"WriteRegDWORD: " + Quoted(L"HKEY_LOCAL_MACHINE\\" + keyPath) + L" " + Quoted(name) + L"=" +
           Quoted(value);
}

std::wstring UninstallerFileEntry() {
    return L"File: overwriteflag=4, allowskipfilesflag=0, name=\"KUninstall\"";
}

// 341000 is what the uninstaller expects to read here, not the size of the
// copied file.
std::wstring UninstallerWrittenEntry(const std::wstring& targetFolder) {
    return L"File: wrote 341000 to " + Quoted(targetFolder + L"\\KUninstall");
}

bool FrameLogEntry(const std::wstring& text, const CodePageConverter& toCodePage, std::string& bytes) {
    bytes.clear();
    // An entry past the limits is refused whole: a cut line would name a
    // different folder, key or file, and the uninstaller would remove that.
    if (text.size() > kMaxLogEntryChars || text.find_first_of(L"\r\n") != std::wstring::npos) {
        return false;
    }
    const std::string encoded = toCodePage(L"\r\n" + text);
    if (encoded.size() < 2 || encoded.compare(0, 2, "\r\n") != 0 || encoded.size() > kMaxLogEntryBytes + 2) {
        return false;
    }
    // The log has always been written through a text-mode stream, which puts
    // a CR before every LF: readers expect the resulting CR CR LF.
    bytes.reserve(encoded.size() + 1);
    for (char c : encoded) {
        if (c == '\n') {
            bytes.push_back('\r');
        }
        bytes.push_back(c);
    }
    return true;
}

}  // namespace korv
