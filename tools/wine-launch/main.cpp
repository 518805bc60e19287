// wine-launch: starts a Windows program, waits for it and reports its full
// exit code. A Linux shell sees only the low 8 bits of a Windows exit code
// (1603 arrives as 67), so scripts run programs through this launcher:
//
//   wine wine-launch.exe [--unquoted] [--no-console] PROGRAM [ARGUMENTS...]
//
// The program's command line is its path in quotes followed by the other
// arguments exactly as the caller wrote them, joined by single blanks.
// --unquoted leaves the quotes off the path, as a console or a deployment
// tool may start a program whose path has no blanks. --no-console starts it
// the way Explorer does: no console and no standard handles (Wine otherwise
// hands a windowed program the launcher's own). Wine
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
std::wstring ProgramCommandLine(bool& noConsole) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring command;
    bool unquoted = false;
    int program = 1;
    noConsole = false;
    for (; args != nullptr && program < count; ++program) {
        const std::wstring option = args[program];
        if (option == L"--unquoted") {
            unquoted = true;
        } else if (option == L"--no-console") {
            noConsole = true;
        } else {
            break;
        }
    }
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
    bool noConsole = false;
    std::wstring command = ProgramCommandLine(noConsole);
    if (command.empty()) {
        fwprintf(stderr, L"usage: wine-launch [--unquoted] [--no-console] PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (noConsole) {
        startup.dwFlags = STARTF_USESTDHANDLES;  // all three left empty
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
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
