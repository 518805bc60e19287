// The install procedure as data: the ordered steps of the install job (on
// its worker thread, reporting to the copy-progress page) or of the
// unattended install, planned from the session and a few machine facts, then
// applied by one small loop.
//
//   std::vector<InstallStep> steps = PlanInstall(Session(), InstallFacts::OfThisMachine(Session(), false));
//   bool ok = ApplyInstallPlan(steps, page, FailureReport::kToPage);   (InstallJob.h)
//
// Planning starts nothing and touches no file, so the order, the command
// lines and the failure rule of every step can be checked on their own, and
// a PLAN=1 run prints the very plan a real run would apply.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/ExitCodeTable.h"
#include "engine/PackageItems.h"
#include "session/InstallSession.h"

namespace korv {

enum class StepKind {
    kPostMessage,          // post `message` to the page
    kSetStage,             // Session().installStage := stage
    kWriteSetupRecord,     // the setup registry record
    kPrerequisite,         // RunPrerequisite(path, page)
    kProductPackage,       // RunProductPackage(path, page, page)
    kRefusedItem,          // a package item that is no plain name: the missing-file message for path, failed
    kProgramWithArguments, // RunWithArguments(path, arguments, no progress window, owner page)
    kMsiPackage,           // InstallMsiPackage(path, page)
    kMsiWithProperties,    // InstallMsiPackageWithProperties(path, arguments, page)
    kDeleteFile,           // path; absent is fine
    kCopyFile,             // path to destination, overwriting
    kWriteIniValue,        // into the file path, only when it exists: section, key, value
    kCreateFolderTree,     // path (logged folder by folder)
    kStartNewInstallLog,   // a new installation: an install.log already in the folder `path` is replaced by an empty one
    kEnsureInstallLog,     // the folder `path` (logged when created) holds an install.log, empty when nothing was logged
    kSecureInstallFolder,  // fw::SecureInstallFolder(path) when the folder exists; never fails the job
    kRegisterComServer,    // RegisterComServer(path)
    kRunHidden,            // RunHidden(path, arguments)
    kConfigurator,         // RunConfigurator(path, page)
    kProductRegistration,  // WriteProductRegistration(no owner)
    // The uninstall's own steps (UninstallPlan.h).
    kHideMainWindow,       // the uninstall windows: hide the main background window
    kOpenWaitWindow,       // ... and show the wait window
    kStartProgram,         // StartAndWait(path as the program, arguments as the whole command line)
    kHandOverUninstaller,  // HandOverToUninstaller(path = installed folder, destination = temporary folder,
                           //   arguments = KUninstall's; waited for when `wait`)
};

// What a step's failure means.
enum class OnFailure {
    kIgnore,        // the result is not used
    kFail,          // the install failed: ReportInstallFailure(failureName)
    kFailInstalled, // the run failed, but every package is installed: reported, not rolled back
    kRegisterFail,  // the install failed: ReportRegisterFailure(failureName)
    kRegisterAsk,   // ReportRegisterFailure(failureName), then go on (the uninstall)
};

struct InstallStep {
    StepKind kind = StepKind::kPostMessage;
    std::wstring path;
    std::wstring arguments;    // command-line tail or MSI property string
    std::wstring destination;  // kCopyFile
    std::wstring section;      // kWriteIniValue
    std::wstring key;
    std::wstring value;
    UINT message = 0;  // kPostMessage
    int stage = 0;     // kSetStage
    OnFailure onFailure = OnFailure::kIgnore;
    std::wstring failureName;  // the file name the failure message names
    // How the exit code of a started program counts (kRunHidden, kStartProgram).
    ProgramRole role = ProgramRole::kInstallStep;
    bool wait = false;         // kHandOverUninstaller: wait for KUninstall
};

// What the plan needs beyond the session.
struct InstallFacts {
    std::wstring setupFolder;        // the medium's folder, no trailing backslash
    std::wstring commonFilesFolder;  // the shell's common program files folder; empty when unknown
    bool windowsInstallerRegistered = true;  // "WindowsInstaller.Installer" has a class id
    bool unattended = false;         // the unattended install instead of the page's job

    // The facts of this machine for the session.
    static InstallFacts OfThisMachine(const InstallSession& session, bool unattended);
};

std::vector<InstallStep> PlanInstall(const InstallSession& session, const InstallFacts& facts);

// The medium's folder, no trailing backslash: the folder start-up read
// Setup.ini from, which is the running program's own folder; from the
// program's module path when the session names none.
std::wstring MediumFolder(const InstallSession& session);

// --- decisions of the package loop (the items themselves: PackageItems.h) ---

// "OFFICEBITVER=<0|1> NETVER=<short code>"; the code of a version the map
// does not know is netFallback.
std::wstring SpreadsheetTableProperties(int office64Bit, const std::wstring& dotNetVersion,
                                        const std::wstring& netFallback);

}  // namespace korv
