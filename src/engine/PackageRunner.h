// Runners that start the programs the installation consists of and wait for
// them (without a time limit unless PACKAGETIMEOUT set one). A program
// counts as run when its file is there, it could be started, it ended in
// time and its exit code means done (ExitCodeTable.h); a code that asks for
// a restart also sets Session().restartNeeded.
//
// progress: the copy-progress page, or none. With it, the package runners
// post WM_PACKAGE_BEGIN before they look for the file and WM_PACKAGE_END
// after the program has ended, and their messages are owned by it.
// owner: owns the message of RunProductPackage and RunWithArguments when
// there is no progress window.
//
// Results: 1 done, 0 failed (after the runner's own message, if any).
#pragma once

#include <windows.h>

#include <string>

#include "engine/ExitCodeTable.h"
#include "session/InstallSession.h"

namespace korv {

// "path" -q -norestart, hidden.
int RunPrerequisite(const std::wstring& path, HWND progress);

// "path" -passive -norestart, visible.
int RunProductPackage(const std::wstring& path, HWND progress, HWND owner);

// "path" followed directly by arguments (which begin with their own blank), visible.
int RunWithArguments(const std::wstring& path, const std::wstring& arguments, HWND progress, HWND owner);

// The product configuration program with the session's settings, hidden.
// Removes trailing backslashes from Session().targetFolder first. Posts nothing.
int RunConfigurator(const std::wstring& path, HWND progress);

// "path" followed directly by arguments, hidden. A missing program counts
// as done (1) without a message; 0 when it cannot be started or its exit
// code (judged for role) means failure.
int RunHidden(const std::wstring& path, const std::wstring& arguments, ProgramRole role);

// regsvr32 "library" -s, visible. A missing library counts as done (1).
// regsvr32 is always the one in the system folder: this process runs with
// administrator rights, and a regsvr32.exe planted beside the setup program
// or in the current folder must never be started in its place.
int RegisterComServer(const std::wstring& libraryPath);

// --- command lines, kept apart from the starting ---

// What the program runners put after the quoted path.
inline constexpr wchar_t kPrerequisiteArguments[] = L" -q -norestart";
inline constexpr wchar_t kProductPackageArguments[] = L" -passive -norestart";

// Buffers the command lines are built in, in characters with the terminator.
constexpr size_t kCommandLineChars = 260;
constexpr size_t kConfiguratorCommandLineChars = 1024;

// The program path in double quotes, followed directly by tail.
std::wstring QuotedCommandLine(const std::wstring& program, const std::wstring& tail);

// The configuration program's command line for the session's values.
std::wstring ConfiguratorCommandLine(const std::wstring& program, const InstallSession& session);

// "regsvr32 " and the library in double quotes, then " -s".
std::wstring RegisterCommandLine(const std::wstring& libraryPath);

// Path of regsvr32.exe in the system folder; empty when unknown.
std::wstring SystemRegsvr32Path();

enum class WindowState {
    kDefault,  // the program's own choice (visible)
    kHidden,   // STARTF_USESHOWWINDOW with SW_HIDE
};

// Starts commandLine with CreateProcess (application as its application name
// when given, otherwise the command line's first token names the program),
// with no inherited handles, no creation flags, this process's environment
// and current folder; waits for the program to end (or for the session's
// PACKAGETIMEOUT) and closes its handles. True when the program ran to its
// end and its exit code, judged for role, means done. The diagnostic log
// notes the start, the command line, the exit code and what it means. A
// command line that does not fit a buffer of bufferChars characters is not
// started at all: cutting it would start the program with other arguments
// than intended, or another program.
bool StartAndWait(const wchar_t* application, const std::wstring& commandLine, size_t bufferChars,
                  WindowState window, ProgramRole role);

// The wait limit PACKAGETIMEOUT gives, in milliseconds; INFINITE without one.
DWORD ProgramTimeoutMs(int minutes);

}  // namespace korv
