// The diagnostic log of what a test runs, captured in a file of its own.
//
//   test::LogCapture log;
//   ... code that notes events ...
//   EXPECT_TRUE(log.Has(L"run mode: unattended install"));
//
// Opens the process's diagnostic log into a fresh folder for the object's
// lifetime and closes it again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "session/DiagnosticLog.h"
#include "support/TempFolder.h"

namespace korv::test {

class LogCapture {
public:
    LogCapture() : path_(folder_ / L"run.log") { OpenDiagnosticLog(path_); }
    ~LogCapture() { CloseDiagnosticLog(); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::wstring& Path() const { return path_; }

    // The file as it is now, bytes unchanged.
    std::string Bytes() const {
        std::string bytes;
        HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
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

    // The events, without their time stamps.
    std::vector<std::wstring> Events() const {
        std::vector<std::wstring> events;
        const std::string bytes = Bytes();
        size_t start = 0;
        while (start < bytes.size()) {
            size_t end = bytes.find("\r\n", start);
            if (end == std::string::npos) {
                end = bytes.size();
            }
            // "yyyy-MM-dd HH:mm:ss.fff  " is 25 bytes.
            const std::string line = bytes.substr(start, end - start);
            events.push_back(Wide(line.size() > 25 ? line.substr(25) : std::string()));
            start = end + 2;
        }
        return events;
    }

    bool Has(const std::wstring& event) const {
        for (const std::wstring& line : Events()) {
            if (line == event) {
                return true;
            }
        }
        return false;
    }

    // The events that begin with prefix.
    std::vector<std::wstring> Starting(const std::wstring& prefix) const {
        std::vector<std::wstring> found;
        for (const std::wstring& line : Events()) {
            if (line.rfind(prefix, 0) == 0) {
                found.push_back(line);
            }
        }
        return found;
    }

private:
    static std::wstring Wide(const std::string& utf8) {
        if (utf8.empty()) {
            return {};
        }
        const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring out(static_cast<size_t>(size), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
        return out;
    }

    TempFolder folder_{L"korv log"};
    std::wstring path_;
};

}  // namespace korv::test
