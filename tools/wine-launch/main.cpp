// wine-launch: starts a Windows program, waits for it and reports its full
// exit code. A Linux shell sees only the low 8 bits of a Windows exit code
// (1603 arrives as 67), so scripts run programs through this launcher:
//
//   wine wine-launch.exe PROGRAM [ARGUMENTS...]
//
// Everything after the launcher's own name is passed on unchanged as the
// program's command line, quotes included. Prints "exit code: N" on standard
// output and exits with N as well (the shell then sees N modulo 256).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The command line without the launcher's own first word.
std::wstring RestOfCommandLine() {
    const wchar_t* line = GetCommandLineW();
    if (*line == L'"') {
        ++line;
        while (*line != L'\0' && *line != L'"') ++line;
        if (*line == L'"') ++line;
    } else {
        while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int wmain() {
    std::wstring command = RestOfCommandLine();
    if (command.empty()) {
        fwprintf(stderr, L"usage: wine-launch PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        DWORD error = GetLastError();
        fwprintf(stderr, L"wine-launch: cannot start %ls (error %lu)\n", command.c_str(), error);
        return 2;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    wprintf(L"exit code: %lu\n", code);
    fflush(stdout);
    return static_cast<int>(code);
}
