#include "engine/InstallLog.h"

#include <windows.h>

#include "engine/FileOperations.h"
#include "session/InstallSession.h"

namespace korv {

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
    return FrameLogEntry(
        text, [codePage](const std::wstring& wide) { return ToCodePage(wide, codePage); }, bytes);
}

namespace {

bool CreateEmptyLog(const std::wstring& path, DWORD disposition) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace

bool StartNewInstallLog(const std::wstring& folder) {
    const std::wstring path = folder + L"\\install.log";
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    // Deleted rather than emptied in place: emptying would write through a
    // hard link into whatever file it shares its data with.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(path.c_str())) {
        return false;
    }
    return CreateEmptyLog(path, CREATE_NEW);
}

bool EnsureInstallLog(const std::wstring& folder) {
    if (CreateFolderTree(folder + L"\\") != 1) {
        return false;
    }
    return CreateEmptyLog(folder + L"\\install.log", OPEN_ALWAYS);
}

bool AppendInstallLog(const std::wstring& text) {
    // The log is opened by its wide name: a folder whose name holds a letter
    // outside the code page has no code-page name, and the log, which the
    // uninstaller needs to remove anything at all, would never be written.
    const std::wstring path = Session().targetFolder + L"\\install.log";
    if (path.size() > kMaxLogPathChars) {
        return false;
    }
    std::string bytes;
    if (!EncodeLogEntry(text, CP_ACP, bytes)) {
        return false;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
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
