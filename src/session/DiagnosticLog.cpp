#include "session/DiagnosticLog.h"

#include <windows.h>

#include <iterator>
#include <mutex>

#include "framework/PrivateFolder.h"
#include "framework/SlimLock.h"
#include "session/LogLine.h"

namespace korv {

namespace {

// Events come from the UI thread and the install worker.
fw::SlimLock g_lock;
HANDLE g_file = INVALID_HANDLE_VALUE;
std::wstring g_path;

LogClock Now() {
    SYSTEMTIME t = {};
    GetLocalTime(&t);
    LogClock clock;
    clock.year = t.wYear;
    clock.month = t.wMonth;
    clock.day = t.wDay;
    clock.hour = t.wHour;
    clock.minute = t.wMinute;
    clock.second = t.wSecond;
    clock.millisecond = t.wMilliseconds;
    return clock;
}

void CloseLocked() {
    if (g_file != INVALID_HANDLE_VALUE) {
        CloseHandle(g_file);
        g_file = INVALID_HANDLE_VALUE;
    }
    g_path.clear();
}

}  // namespace

bool OpenDiagnosticLog(const std::wstring& path) {
    std::lock_guard<fw::SlimLock> lock(g_lock);
    CloseLocked();
    if (path.empty()) {
        return false;
    }
    // Append-only: every write lands at the end, also when two runs started
    // in the same second share the default name. Others may read the log
    // while the run goes on.
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    g_file = file;
    g_path = path;
    return true;
}

void CloseDiagnosticLog() {
    std::lock_guard<fw::SlimLock> lock(g_lock);
    CloseLocked();
}

std::wstring DiagnosticLogPath() {
    std::lock_guard<fw::SlimLock> lock(g_lock);
    return g_path;
}

bool OpenDefaultDiagnosticLog() {
    const std::wstring temp = fw::TemporaryFolder();
    if (temp.empty()) {
        return false;
    }
    // SYSTEM's temporary folder lies below the Windows folder, and there
    // every user may create and read files; a user's own one is theirs.
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, static_cast<UINT>(std::size(windows)));
    const bool shared = length > 0 && length < std::size(windows) && temp.size() > length &&
                        CompareStringOrdinal(temp.c_str(), static_cast<int>(length), windows,
                                             static_cast<int>(length), TRUE) == CSTR_EQUAL &&
                        temp[length] == L'\\';
    fw::PrivateSecurity security;
    if (shared && security.Attributes() == nullptr) {
        return false;
    }
    std::lock_guard<fw::SlimLock> lock(g_lock);
    CloseLocked();
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::wstring unique = fw::RandomName();
        if (unique.empty()) {
            return false;
        }
        const std::wstring path = temp + DefaultLogFileName(Now(), unique);
        HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  shared ? security.Attributes() : nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            g_file = file;
            g_path = path;
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            return false;
        }
    }
    return false;
}

void LogEvent(const std::wstring& text) {
    std::lock_guard<fw::SlimLock> lock(g_lock);
    if (g_file == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string bytes = LogLineBytes(Now(), text);
    DWORD written = 0;
    // A full disk or a vanished share loses the line, nothing more.
    WriteFile(g_file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring TodayCompactDate() {
    return CompactDate(Now());
}

}  // namespace korv
