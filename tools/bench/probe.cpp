// probe: the measuring side of scripts/bench.sh. It times programs from
// outside, the way a person or a deployment tool meets them, with the
// performance counter, and prints one line of key=value figures.
//
//   probe run PROGRAM [ARGUMENTS...]
//       starts the program, waits for it; prints ms (start to end),
//       exit (its exit code) and peak_kib (its peak working set)
//   probe first-window ID PROGRAM [ARGUMENTS...]
//       starts the program and waits for a visible top-level window of that
//       process with a visible control ID; prints ms (start to visible) and
//       peak_kib, then ends the program
//   probe ping ID [--with ID2] [--timeout S] [--for-ms N] [--period-ms P]
//       waits for a visible window with control ID (and ID2), then sends it
//       WM_NULL every P ms (default 5) until it is gone or N ms have passed;
//       prints count, max_ms and median_ms of the round trips, and peak_kib
//       of the window's process as read at the end of the pinging
//
// The command line of a started program is its path in quotes followed by
// the other arguments as written, joined by blanks (as wine-launch does).
// Exit code 0 when the figures were taken, 1 when the program or window
// could not be had, 2 on a usage error.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::wstring CommandLineOf(int first, int count, wchar_t** args) {
    std::wstring line = L"\"" + std::wstring(args[first]) + L"\"";
    for (int i = first + 1; i < count; ++i) {
        line += L" ";
        line += args[i];
    }
    return line;
}

bool Start(std::wstring line, PROCESS_INFORMATION& process) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        fwprintf(stderr, L"probe: cannot start %ls (error %lu)\n", line.c_str(), GetLastError());
        return false;
    }
    return true;
}

// The peak working set in KiB; 0 when the process cannot be read.
unsigned long long PeakKib(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, &counters, sizeof(counters))) {
        return 0;
    }
    return counters.PeakWorkingSetSize / 1024;
}

struct Search {
    int id;
    int with;
    DWORD pid;  // 0: any process
    HWND found;
};

BOOL CALLBACK FindWindowWithControl(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    if (search->pid != 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != search->pid) {
            return TRUE;
        }
    }
    HWND control = GetDlgItem(window, search->id);
    if (control == nullptr || !IsWindowVisible(control)) {
        return TRUE;
    }
    if (search->with != 0 && GetDlgItem(window, search->with) == nullptr) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindPage(int id, int with, DWORD pid) {
    Search search{id, with, pid, nullptr};
    EnumWindows(FindWindowWithControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 2;
    }
    PROCESS_INFORMATION process = {};
    const double start = Now();
    if (!Start(CommandLineOf(2, argc, argv), process)) {
        return 1;
    }
    // The peak is read while the program runs: not every system keeps the
    // figures of a process that has ended.
    unsigned long long peak = 0;
    while (WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT) {
        peak = std::max(peak, PeakKib(process.hProcess));
    }
    const double end = Now();
    peak = std::max(peak, PeakKib(process.hProcess));
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    wprintf(L"ms=%.1f exit=%lu peak_kib=%llu\n", end - start, code, peak);
    return 0;
}

int FirstWindow(int argc, wchar_t** argv) {
    if (argc < 4) {
        return 2;
    }
    const int id = _wtoi(argv[2]);
    PROCESS_INFORMATION process = {};
    const double start = Now();
    if (!Start(CommandLineOf(3, argc, argv), process)) {
        return 1;
    }
    const double deadline = start + 120000;
    HWND page = nullptr;
    while (page == nullptr && Now() < deadline) {
        page = FindPage(id, 0, process.dwProcessId);
        if (page == nullptr) {
            if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
                break;
            }
        }
    }
    const double shown = Now();
    const unsigned long long peak = PeakKib(process.hProcess);
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (page == nullptr) {
        fwprintf(stderr, L"probe: no visible window with control %d\n", id);
        return 1;
    }
    wprintf(L"ms=%.1f peak_kib=%llu\n", shown - start, peak);
    return 0;
}

int Ping(int argc, wchar_t** argv) {
    if (argc < 3) {
        return 2;
    }
    const int id = _wtoi(argv[2]);
    int with = 0;
    double timeoutMs = 60000;
    double forMs = 0;
    DWORD periodMs = 5;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        if (option == L"--with") {
            with = _wtoi(argv[i + 1]);
        } else if (option == L"--timeout") {
            timeoutMs = _wtof(argv[i + 1]) * 1000;
        } else if (option == L"--for-ms") {
            forMs = _wtof(argv[i + 1]);
        } else if (option == L"--period-ms") {
            periodMs = static_cast<DWORD>(_wtoi(argv[i + 1]));
        } else {
            return 2;
        }
    }
    const double waitStart = Now();
    HWND page = nullptr;
    while ((page = FindPage(id, with, 0)) == nullptr) {
        if (Now() - waitStart > timeoutMs) {
            fwprintf(stderr, L"probe: no visible window with control %d\n", id);
            return 1;
        }
        Sleep(2);
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(page, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr) {
        process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    }
    std::vector<double> trips;
    unsigned long long peak = 0;
    const double start = Now();
    while (IsWindow(page) && IsWindowVisible(page)) {
        if (forMs > 0 && Now() - start > forMs) {
            break;
        }
        DWORD_PTR result = 0;
        const double sent = Now();
        // A window that does not answer within ten seconds is hung, not slow.
        if (!SendMessageTimeoutW(page, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
            if (!IsWindow(page)) {
                break;
            }
        }
        trips.push_back(Now() - sent);
        if (process != nullptr && trips.size() % 20 == 0) {
            peak = std::max(peak, PeakKib(process));
        }
        Sleep(periodMs);
    }
    if (process != nullptr) {
        peak = std::max(peak, PeakKib(process));
        CloseHandle(process);
    }
    if (trips.empty()) {
        fwprintf(stderr, L"probe: the window went before it could be pinged\n");
        return 1;
    }
    std::vector<double> sorted = trips;
    std::sort(sorted.begin(), sorted.end());
    wprintf(L"count=%zu max_ms=%.2f median_ms=%.2f peak_kib=%llu\n", sorted.size(), sorted.back(),
            sorted[sorted.size() / 2], peak);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc >= 2 ? argv[1] : L"";
    int result = 2;
    if (command == L"run") {
        result = Run(argc, argv);
    } else if (command == L"first-window") {
        result = FirstWindow(argc, argv);
    } else if (command == L"ping") {
        result = Ping(argc, argv);
    }
    if (result == 2) {
        fwprintf(stderr, L"usage: probe run PROGRAM [ARGS...] | first-window ID PROGRAM [ARGS...] | "
                         L"ping ID [--with ID2] [--timeout S] [--for-ms N] [--period-ms P]\n");
    }
    fflush(stdout);
    return result;
}
