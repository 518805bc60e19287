#include "engine/InstallLog.h"

#include <windows.h>

#include "session/InstallSession.h"

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

std::string ToCodePage(const std::wstring& text, unsigned codePage, bool* unrepresentable) {
    if (unrepresentable != nullptr) {
        *unrepresentable = false;
    }
    if (text.empty()) {
        return {};
    }
    // UTF-7 and UTF-8 represent everything and refuse both the flag and the
    // default-character report. The ANSI code page itself may be UTF-8 (the
    // Windows option "use Unicode UTF-8 for worldwide language support"), so
    // it is looked at by its number: asked with the flag, every conversion
    // would fail there and the log would never be written.
    if (codePage == CP_ACP) {
        codePage = GetACP();
    }
    const bool utf = codePage == CP_UTF7 || codePage == CP_UTF8;
    const DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf ? nullptr : &usedDefault;
    const int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, used);
    if (size <= 0) {
        if (unrepresentable != nullptr) {
            *unrepresentable = true;
        }
        return {};
    }
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), length, out.data(), size, nullptr, used);
    if (unrepresentable != nullptr) {
        *unrepresentable = usedDefault != FALSE;
    }
    return out;
}

bool EncodeLogEntry(const std::wstring& text, unsigned codePage, std::string& bytes) {
    bytes.clear();
    // An entry past the limits is refused whole: a cut line would name a
    // different folder, key or file, and the uninstaller would remove that.
    if (text.size() > kMaxLogEntryChars) {
        return false;
    }
    const std::string encoded = ToCodePage(L"\r\n" + text, codePage);
    if (encoded.empty() || encoded.size() > kMaxLogEntryBytes + 2) {
        return false;
    }
    // The log has always been written through a text-mode stream, which puts
    // a CR before every LF: readers expect the resulting CR CR LF.
    bytes.reserve(encoded.size() + 2);
    for (char c : encoded) {
        if (c == '\n') {
            bytes.push_back('\r');
        }
        bytes.push_back(c);
    }
    return true;
}

bool AppendInstallLog(const std::wstring& text) {
    bool unrepresentable = false;
    const std::string path = ToCodePage(Session().targetFolder + L"\\install.log", CP_ACP, &unrepresentable);
    // The log is opened by its code-page name. A folder name outside the
    // code page has no such name, and a longer path does not fit the buffer
    // the uninstaller's side uses: the entry is lost either way.
    if (unrepresentable || path.empty() || path.size() > kMaxLogPathBytes) {
        return false;
    }
    std::string bytes;
    if (!EncodeLogEntry(text, CP_ACP, bytes)) {
        return false;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER end = {};
    DWORD written = 0;
    const bool ok = SetFilePointerEx(file, end, nullptr, FILE_END) &&
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

}  // namespace korv
