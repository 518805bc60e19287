// wine-launch: starts a Windows program, waits for it and reports its full
// exit code. A Linux shell sees only the low 8 bits of a Windows exit code
// (1603 arrives as 67), so scripts run programs through this launcher:
//
//   wine wine-launch.exe [--unquoted] PROGRAM [ARGUMENTS...]
//
// The program's command line is its path in quotes followed by the other
// arguments exactly as the caller wrote them, joined by single blanks.
// --unquoted leaves the quotes off the path, as a console or a deployment
// tool may start a program whose path has no blanks. Wine
// escapes quotes when it turns a Linux argument list into a Windows command
// line; the launcher undoes that, so a shell script can hand a program words
// like  TARGETDIR="D:\My Apps\"  unchanged. Prints "exit code: N" on
// standard output and exits with N as well (the shell sees N modulo 256).
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

// The caller's arguments as they were before Wine quoted them, joined raw.
std::wstring ProgramCommandLine() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring command;
    const bool unquoted = args != nullptr && count >= 2 && std::wstring(args[1]) == L"--unquoted";
    const int program = unquoted ? 2 : 1;
    if (args != nullptr && count >= program + 1) {
        command = unquoted ? std::wstring(args[program]) : L"\"" + std::wstring(args[program]) + L"\"";
        for (int i = program + 1; i < count; ++i) {
            command += L" ";
            command += args[i];
        }
    }
    LocalFree(args);
    return command;
}

}  // namespace

int wmain() {
    std::wstring command = ProgramCommandLine();
    if (command.empty()) {
        fwprintf(stderr, L"usage: wine-launch [--unquoted] PROGRAM [ARGUMENTS...]\n");
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
