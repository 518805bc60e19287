#include "engine/StepDescription.h"

#include "framework/DecimalText.h"
#include "config/InstalledRecords.h"
#include "engine/MsiInstaller.h"
#include "engine/PackageRunner.h"
#include "engine/ProductData.h"
#include "session/ProgressMessages.h"

namespace korv {

namespace {

std::wstring PageMessageName(UINT message) {
    switch (message) {
    case WM_INSTALL_STARTED: return L"WM_INSTALL_STARTED";
    case WM_INSTALL_DONE: return L"WM_INSTALL_DONE";
    case WM_INSTALL_FAILED: return L"WM_INSTALL_FAILED";
    case WM_PACKAGE_BEGIN: return L"WM_PACKAGE_BEGIN";
    case WM_PACKAGE_END: return L"WM_PACKAGE_END";
    }
    return L"message " + fw::DecimalText(message);
}

std::wstring StageName(int stage) {
    switch (stage) {
    case kStagePrerequisites: return L"1 (prerequisites)";
    case kStageProductPackages: return L"2 (product packages)";
    case kStageCollaboration: return L"3 (collaboration system)";
    case kStageSetupFiles: return L"4 (setup files and registration)";
    }
    return fw::DecimalText(stage);
}

// When the step counts as failed, for the kinds whose failure can matter.
std::wstring FailureCondition(const InstallStep& step) {
    switch (step.kind) {
    case StepKind::kPrerequisite:
    case StepKind::kProductPackage:
    case StepKind::kProgramWithArguments:
    case StepKind::kConfigurator:
        return L"missing (message \"File :'...' does not exist!\"), not startable or ends with a failure code";
    case StepKind::kMsiPackage:
    case StepKind::kMsiWithProperties:
        return L"not installed";
    case StepKind::kRefusedItem:
        return L"always (message \"File :'...' does not exist!\")";
    case StepKind::kRunHidden:
    case StepKind::kRegisterComServer:
        return std::wstring(step.role == ProgramRole::kNotJudged ? L"not startable" : L"not startable or ends with a failure code") +
               L" (when it is not there, nothing is started and the step counts as done)";
    case StepKind::kCreateFolderTree:
        return L"a folder cannot be created";
    case StepKind::kHandOverUninstaller:
        return std::wstring(L"KUninstall, install.log or IntallerRes.dll cannot be copied, or KUninstall cannot be started") +
               (step.wait ? L" or ends with a failure code" : L"");
    default:
        return L"failed";
    }
}

std::wstring FailureRule(const InstallStep& step, FailureReport report) {
    const std::wstring condition = FailureCondition(step);
    switch (step.onFailure) {
    case OnFailure::kIgnore:
        return {};
    case OnFailure::kFail:
        if (report == FailureReport::kToPage) {
            return condition + L": notice \"" + InstallFailureText(step.failureName) + L"\", the install fails";
        }
        return condition + (report == FailureReport::kUnattended ? L": rollback, the run ends (1603)"
                                                                  : L": the run ends (1603)");
    case OnFailure::kFailInstalled:
        return condition + L": notice, the run ends (1603) after its last step, the installation stays";
    case OnFailure::kRegisterFail:
        if (report == FailureReport::kToPage) {
            return condition + L": question \"" + RegisterFailureText(step.failureName) + L"\", the install fails";
        }
        return condition + (report == FailureReport::kUnattended ? L": rollback, the run ends (1603)"
                                                                  : L": the run ends (1603)");
    case OnFailure::kRegisterAsk:
        return condition + L": question \"" + RegisterFailureText(step.failureName) + L"\", the run goes on";
    }
    return {};
}

StepSummary Summary(const std::wstring& action, const std::wstring& detail, bool startsProgram = false) {
    StepSummary summary;
    summary.action = action;
    summary.detail = detail;
    summary.startsProgram = startsProgram;
    return summary;
}

StepSummary DescribeAction(const InstallStep& step, const InstallSession& session) {
    switch (step.kind) {
    case StepKind::kPostMessage:
        return Summary(L"tell the page", PageMessageName(step.message));
    case StepKind::kSetStage:
        return Summary(L"stage", StageName(step.stage));
    case StepKind::kWriteSetupRecord:
        return Summary(L"setup record",
                       L"HKEY_LOCAL_MACHINE\\" + SetupRecordKeyPath(session.companyName, ProductRegName()) +
                           L" (32-bit view): path=" + session.targetFolder + L", language, NUM, NetTest");
    case StepKind::kPrerequisite:
        return Summary(L"prerequisite, hidden", QuotedCommandLine(step.path, kPrerequisiteArguments), true);
    case StepKind::kProductPackage:
        return Summary(L"package", QuotedCommandLine(step.path, kProductPackageArguments), true);
    case StepKind::kRefusedItem:
        return Summary(L"refused package item", step.path + L" (no plain name: nothing is started)");
    case StepKind::kProgramWithArguments:
        return Summary(L"program", QuotedCommandLine(step.path, step.arguments), true);
    case StepKind::kMsiPackage:
    case StepKind::kMsiWithProperties:
        return Summary(L"Windows Installer package",
                       step.path + L" with " +
                           MsiCommandLine(step.kind == StepKind::kMsiWithProperties ? step.arguments : L""));
    case StepKind::kDeleteFile:
        return Summary(L"delete", step.path + L" (when it is there)");
    case StepKind::kCopyFile:
        return Summary(L"copy", step.path + L" to " + step.destination + L", overwriting");
    case StepKind::kWriteIniValue:
        return Summary(L"Setup.ini value",
                       step.path + L" [" + step.section + L"] " + step.key + L"=" + step.value + L" (when it is there)");
    case StepKind::kCreateFolderTree:
        return Summary(L"folders", step.path + L" (each one created is logged in install.log)");
    case StepKind::kStartNewInstallLog:
        return Summary(L"install.log", L"start anew: " + step.path + L"\\install.log");
    case StepKind::kEnsureInstallLog:
        return Summary(L"install.log", L"create when missing: " + step.path + L"\\install.log");
    case StepKind::kSecureInstallFolder:
        return Summary(L"rights", step.path + L": SYSTEM and Administrators full control, Users read (when it is there)");
    case StepKind::kRegisterComServer:
        return Summary(L"COM registration, system regsvr32", RegisterCommandLine(step.path), true);
    case StepKind::kRunHidden:
        return Summary(L"program, hidden", QuotedCommandLine(step.path, step.arguments), true);
    case StepKind::kConfigurator:
        return Summary(L"configuration program, hidden", ConfiguratorCommandLine(step.path, session), true);
    case StepKind::kProductRegistration:
        return Summary(L"uninstall record",
                       L"HKEY_LOCAL_MACHINE\\" + UninstallKeyPath(session, true) +
                           L" (32-bit view), its install.log entries and the desktop and start-menu shortcuts");
    case StepKind::kHideMainWindow:
        return Summary(L"window", L"hide the main background window");
    case StepKind::kOpenWaitWindow:
        return Summary(L"window", L"show the uninstall wait window");
    case StepKind::kStartProgram:
        return Summary(L"program " + step.path, step.arguments, true);
    case StepKind::kHandOverUninstaller: {
        const std::wstring folder = step.destination + L"KorvUninstall-<new>\\";
        return Summary(L"hand-over",
                       L"copy " + std::wstring(product::kUninstallerInstalled) + L", " + product::kInstallLog + L" and " +
                           product::kResourceLibrary + L" from " + step.path + L" into a new private folder " + folder +
                           L", close the wait window, " +
                           (step.wait ? L"start \"" + folder + product::kUninstallerOnMedium + L"\" " + step.arguments +
                                            L" and wait for it, then remove the new folder"
                                      : L"start \"" + folder + product::kUninstallerOnMedium + L"\" " + step.arguments +
                                            L" through the shell, not waited for"));
    }
    }
    return Summary(L"step", step.path);
}

}  // namespace

StepSummary DescribeStep(const InstallStep& step, const InstallSession& session, FailureReport report) {
    StepSummary summary = DescribeAction(step, session);
    summary.onFailure = FailureRule(step, report);
    return summary;
}

}  // namespace korv
