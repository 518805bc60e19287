// Helpers the engine tests share: a window that collects what the runners
// post, the fake packages and their journal, the session, install.log and
// the golden files.
#pragma once

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "session/InstallSession.h"
#include "fixtures/Fixtures.h"

namespace korv::test {

// A message-only window on the test's thread; Drain() returns the messages
// posted to it since the last call, in order.
class PostedMessages {
public:
    PostedMessages() {
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~PostedMessages() { DestroyWindow(window_); }
    PostedMessages(const PostedMessages&) = delete;
    PostedMessages& operator=(const PostedMessages&) = delete;

    HWND Window() const { return window_; }

    std::vector<UINT> Drain() {
        std::vector<UINT> messages;
        MSG msg;
        while (PeekMessageW(&msg, window_, WM_USER, WM_USER + 0x7FFF, PM_REMOVE)) {
            messages.push_back(msg.message);
        }
        return messages;
    }

private:
    HWND window_ = nullptr;
};

// Session() reset before and after a test.
class SessionScope {
public:
    SessionScope() { Session().Reset(); }
    ~SessionScope() {
        HMODULE msi = Session().msiModule;  // stays loaded for the process
        Session().Reset();
        Session().msiModule = msi;
    }
    InstallSession& operator*() const { return Session(); }
    InstallSession* operator->() const { return &Session(); }
};

// KORV_JOURNAL for the lifetime of the object (started programs inherit it).
class JournalVariable {
public:
    explicit JournalVariable(const std::wstring& path) { SetEnvironmentVariableW(L"KORV_JOURNAL", path.c_str()); }
    ~JournalVariable() { SetEnvironmentVariableW(L"KORV_JOURNAL", nullptr); }
    JournalVariable(const JournalVariable&) = delete;
    JournalVariable& operator=(const JournalVariable&) = delete;
};

inline bool PlaceFakePackage(const std::wstring& destination) {
    return CopyFileW(FixturePath(L"fakepkg.exe").c_str(), destination.c_str(), FALSE) != FALSE;
}

inline bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        bytes.append(buffer, count);
    }
    CloseHandle(file);
    return bytes;
}

inline std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring module(path, length);
    return module.substr(0, module.find_last_of(L'\\'));
}

// Golden files are copied beside the test program by the build.
inline std::wstring GoldenPath(const wchar_t* name) {
    return ModuleFolder() + L"\\golden\\engine\\" + name;
}

inline std::wstring FromCodePage(const std::string& bytes, UINT codePage) {
    if (bytes.empty()) {
        return {};
    }
    int size = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), size);
    return out;
}

// The entries of an install.log: the text between the CR CR LF line breaks,
// in the code page. A log that does not begin with a line break, or holds a
// bare CR LF, gives an extra "<malformed>" entry so the comparison fails.
inline std::vector<std::wstring> ReadLogEntries(const std::wstring& path) {
    const std::string bytes = ReadBytes(path);
    const std::string lineBreak = "\r\r\n";
    std::vector<std::wstring> entries;
    if (bytes.empty()) {
        return entries;
    }
    if (bytes.compare(0, lineBreak.size(), lineBreak) != 0) {
        entries.push_back(L"<malformed>");
        return entries;
    }
    size_t start = lineBreak.size();
    for (;;) {
        size_t next = bytes.find(lineBreak, start);
        std::string entry = bytes.substr(start, next == std::string::npos ? std::string::npos : next - start);
        entries.push_back(entry.find('\n') == std::string::npos ? FromCodePage(entry, CP_ACP) : L"<malformed>");
        if (next == std::string::npos) {
            break;
        }
        start = next + lineBreak.size();
    }
    return entries;
}

// Lines of a UTF-8 golden text file (LF or CR LF), with ${NAME} replaced by
// the given values.
inline std::vector<std::wstring> ReadGoldenLines(const std::wstring& path,
                                                 const std::vector<std::pair<std::wstring, std::wstring>>& values) {
    const std::string bytes = ReadBytes(path);
    std::wstring text = FromCodePage(bytes, CP_UTF8);
    std::vector<std::wstring> lines;
    std::wstringstream stream(text);
    std::wstring line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        for (const auto& [name, value] : values) {
            const std::wstring placeholder = L"${" + name + L"}";
            for (size_t at = line.find(placeholder); at != std::wstring::npos;
                 at = line.find(placeholder, at + value.size())) {
                line.replace(at, placeholder.size(), value);
            }
        }
        lines.push_back(line);
    }
    return lines;
}

// A session as registration needs it: the target folder, the product's
// names and the migration tool's values.
inline void FillRegistrationSession(InstallSession& s, const std::wstring& target, const std::wstring& productName) {
    s.targetFolder = target;
    s.productName = productName;
    s.languageCode = L"zh_cn";
    s.product64Bit = 1;
    s.companyName = L"Tallowick Company";
    s.productRegName = L"Korvanix";
    s.productVersion = L"21.0";
    s.migrateFolderName = L"Migration";
    s.migratePrevious = L"Migrate";
    s.migrateExport = L"Export";
    s.migrateImport = L"Import";
    s.migrateReset = L"Reset";
    s.migrateVersion = L"2023";
}

}  // namespace korv::test
