#include "engine/Uninstall.h"

#include <windows.h>
#include <shellapi.h>

#include <iterator>

#include "config/InstalledRecords.h"
#include "session/DiagnosticLog.h"
#include "session/InstallSession.h"
#include "engine/InstallJob.h"
#include "engine/InstallPlan.h"
#include "engine/PackageRunner.h"
#include "engine/ProductData.h"
#include "engine/UninstallPlan.h"
#include "engine/UninstallWindows.h"
#include "engine/ProcessWait.h"
#include "framework/DecimalText.h"
#include "framework/PrivateFolder.h"

namespace korv {

namespace {

namespace p = product;

constexpr size_t kTempFolderChars = 260;

void Call(const std::function<void()>& window) {
    if (window) {
        window();
    }
}

bool OpenWithShell(const std::wstring& program, const wchar_t* parameters) {
    HINSTANCE result = ShellExecuteW(nullptr, L"open", program.c_str(), parameters, nullptr, SW_SHOWNORMAL);
    const bool started = reinterpret_cast<INT_PTR>(result) > 32;
    if (!started) {
        LogEvent(L"the shell cannot start " + program + L" (error " +
                 fw::DecimalText(reinterpret_cast<INT_PTR>(result)) + L")");
    }
    return started;
}

bool CopyOver(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

// install.log, or an empty one when the installation logged nothing (or
// lost its log): KUninstall then removes only what it knows of itself, which
// is better than not running at all.
bool CopyLogOrEmpty(const std::wstring& from, const std::wstring& to) {
    if (CopyOver(from, to)) {
        return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        return false;
    }
    LogEvent(L"no install.log in the installation folder: KUninstall gets an empty one");
    HANDLE file = CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

// The hand-over folder and what was copied into it; once KUninstall has
// ended nothing needs them.
void RemoveHandOverFolder(const std::wstring& folder) {
    for (const wchar_t* name : {p::kUninstallerOnMedium, p::kInstallLog, p::kResourceLibrary}) {
        DeleteFileW((folder + name).c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

std::wstring MsiRemovalCommandLine(const std::wstring& productCode) {
    return std::wstring(L"msiexec ") + L" -x" + L" " + productCode + L" -q";
}

std::wstring SystemMsiexecPath() {
    wchar_t folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(folder, static_cast<UINT>(std::size(folder)));
    if (length == 0 || length >= std::size(folder)) {
        return {};
    }
    return std::wstring(folder, length) + L"\\msiexec.exe";
}

std::wstring CreateFreshFolderIn(const std::wstring& tempFolder) {
    // KUninstall runs elevated from this folder and loads DLLs from it: only
    // SYSTEM and the Administrators may write into it, and its name cannot be
    // guessed ahead of time.
    const size_t room = kTempFolderChars - std::wstring(p::kUninstallerOnMedium).size() - 1;
    return fw::CreatePrivateFolder(tempFolder, L"KorvUninstall-", room);
}

int UninstallProduct() {
    return ApplyInstallPlan(PlanUninstall(Session(), UninstallFacts::OfThisMachine(false)), nullptr,
                            FailureReport::kSilent) == JobOutcome::kDone
               ? 1
               : 0;
}

int UninstallProductQuietly() {
    const bool done = ApplyInstallPlan(PlanUninstall(Session(), UninstallFacts::OfThisMachine(true)), nullptr,
                                       FailureReport::kSilent) == JobOutcome::kDone;
    // Started from the installed folder itself (the uninstall record's
    // command lines are), this process still holds its program and the
    // resource library there, so KUninstall could not remove them, nor
    // the folder.
    ScheduleRemovalOfHeldFiles(Session().targetFolder + L"\\", MediumFolder(Session()) + L"\\");
    return done ? 1 : 0;
}

bool HandOverToUninstaller(const std::wstring& installedFolder, const std::wstring& tempFolder,
                           const std::wstring& arguments, bool wait) {
    if (tempFolder.empty()) {
        return false;
    }
    // KUninstall runs with administrator rights; started from the shared
    // temporary folder, which every user can write to, it would load any
    // DLL planted there under a name it looks for. A folder of its own,
    // created new for this run, holds only what is copied into it.
    const std::wstring folder = CreateFreshFolderIn(tempFolder);
    if (folder.empty()) {
        LogEvent(L"no folder for KUninstall below " + tempFolder);
        return false;
    }
    const std::wstring& T = installedFolder;
    const std::wstring uninstaller = folder + p::kUninstallerOnMedium;
    if (!CopyOver(T + p::kUninstallerInstalled, uninstaller) || !CopyLogOrEmpty(T + p::kInstallLog, folder + p::kInstallLog) ||
        !CopyOver(T + p::kResourceLibrary, folder + p::kResourceLibrary)) {
        LogEvent(L"KUninstall, install.log or IntallerRes.dll cannot be copied from " + T + L" to " + folder);
        RemoveHandOverFolder(folder);
        return false;
    }

    Call(CurrentUninstallWindows().closeWaitWindow);
    if (!wait) {
        LogEvent(L"hands over to \"" + uninstaller + L"\" " + arguments + L" (not waited for)");
        return OpenWithShell(uninstaller, arguments.c_str());
    }
    LogEvent(L"hands over to \"" + uninstaller + L"\" " + arguments + L" and waits for its result");
    const bool done = StartAndWait(uninstaller.c_str(), L"\"" + uninstaller + L"\" " + arguments, kCommandLineChars,
                                   WindowState::kDefault, ProgramRole::kInstallStep);
    RemoveHandOverFolder(folder);
    return done;
}

int RollbackInstall() {
    // The medium is often read-only (a DVD, an ISO, a share), so nothing is
    // written there: KUninstall runs from a fresh folder of its own with the
    // log beside it, as in the uninstall's hand-over, and is waited for, so
    // that the run's end means the machine is as it was.
    const std::wstring S = MediumFolder(Session()) + L"\\";
    const std::wstring tempFolder = UninstallFacts::OfThisMachine(true).tempFolder;
    const std::wstring folder = tempFolder.empty() ? std::wstring() : CreateFreshFolderIn(tempFolder);
    if (folder.empty()) {
        LogEvent(L"rollback: no folder for KUninstall");
        return 0;
    }
    const std::wstring uninstaller = folder + p::kUninstallerOnMedium;
    if (!CopyOver(S + p::kUninstallerOnMedium, uninstaller) ||
        !CopyLogOrEmpty(Session().targetFolder + L"\\" + p::kInstallLog, folder + p::kInstallLog) ||
        !CopyOver(S + p::kResourceLibrary, folder + p::kResourceLibrary)) {
        LogEvent(L"rollback: cannot copy KUninstall, install.log or IntallerRes.dll to " + folder);
        RemoveHandOverFolder(folder);
        return 0;
    }
    LogEvent(L"rollback: starts \"" + uninstaller + L"\" /quiet /norestart and waits for it");
    const bool done = StartAndWait(uninstaller.c_str(), L"\"" + uninstaller + L"\" /quiet /norestart",
                                   kCommandLineChars, WindowState::kDefault, ProgramRole::kInstallStep);
    RemoveHandOverFolder(folder);
    if (!done) {
        LogEvent(L"rollback: KUninstall did not report success");
        return 0;
    }
    // The setup record was written for this installation: with the
    // installation gone it would name a folder that holds nothing.
    if (!RemoveSetupRecord(Session())) {
        LogEvent(L"rollback: the setup record cannot be removed");
    }
    LogEvent(L"rollback: done");
    return 1;
}

void ScheduleRemovalOfHeldFiles(const std::wstring& installedFolder, const std::wstring& programFolder) {
    if (CompareStringOrdinal(installedFolder.c_str(), -1, programFolder.c_str(), -1, TRUE) != CSTR_EQUAL) {
        return;
    }
    bool scheduled = false;
    for (const wchar_t* name : {p::kSetupProgram, p::kResourceLibrary}) {
        const std::wstring path = installedFolder + name;
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        if (MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
            LogEvent(L"in use by this run, removed at the next restart: " + path);
            scheduled = true;
        } else {
            LogEvent(L"in use by this run and cannot be scheduled for removal (error " +
                     fw::DecimalText(GetLastError()) + L"): " + path);
        }
    }
    // The folder goes after its files; one that still holds other files then
    // stays, as it should.
    std::wstring folder = installedFolder;
    folder.pop_back();
    if (scheduled && MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        LogEvent(L"removed at the next restart when empty: " + folder);
    }
}

}  // namespace korv
