// The checks start-up runs before any page (the free-space check the pages
// run when a folder is confirmed is config/DiskSpace.h). Each failing check shows its own
// message; the caller only learns the result.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace korv {

// Administrator rights: the elevation test from Windows Vista on, the
// Administrators group test before it.
bool IsUserAdmin();
bool IsUserAdminFor(DWORD majorVersion, bool elevationQueryOk, DWORD elevationBytes, DWORD elevated,
                    bool inAdministratorsGroup);

// Supported Windows version; false after showing 2045.
bool CheckWindowsVersion();

enum class VersionVerdict {
    Pass,
    FailNotice,    // 2045 as a notice
    FailQuestion,  // 2045 as a question (Windows Server before 2012 reporting 6.3)
};

// The decision behind CheckWindowsVersion, fed with a reader of the
// CurrentVersion values (read only when the rules need them).
VersionVerdict JudgeWindowsVersion(const std::function<std::wstring(const wchar_t*)>& readValue, int os64Bit);

// Process id of the first process whose file name equals name exactly
// (case-sensitive); 0 when none.
DWORD FindProcess(const wchar_t* name);

// Ends every process whose file name equals name ignoring case and waits
// until they are gone, at most kProcessEndBoundMs in all; false when one of
// them could not be opened or ended (the walk stops there) or is still
// there when the bound has passed.
bool TerminateProcesses(const wchar_t* name);

// How long Force closed waits for the ended programs to be gone.
constexpr DWORD kProcessEndBoundMs = 10000;

// True when every process of processes (handles with SYNCHRONIZE access) has
// ended within boundMs in all.
bool WaitForProcessesToEnd(const std::vector<HANDLE>& processes, DWORD boundMs);

// While korv.exe runs, asks Retry / Force closed / Cancel (text 2010).
// False when the user cancelled.
bool WaitForProductToClose();

}  // namespace korv
