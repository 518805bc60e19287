#include "engine/InstallJob.h"

#include "session/DiagnosticLog.h"
#include "framework/DecimalText.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "config/InstalledRecords.h"
#include "engine/EngineMessages.h"
#include "engine/FileOperations.h"
#include "engine/InstallLog.h"
#include "engine/MsiInstaller.h"
#include "engine/PackageRunner.h"
#include "engine/ProductRegistration.h"
#include "engine/StepDescription.h"
#include "engine/Uninstall.h"
#include "engine/UninstallWindows.h"
#include "framework/PrivateFolder.h"
#include "session/ProgressMessages.h"
#include "resource.h"

namespace korv {

namespace {

void Call(const std::function<void()>& window) {
    if (window) {
        window();
    }
}

// Runs one step; false when it failed (what that means is the step's
// onFailure: for most steps whose result is not used, nothing; the log
// still tells). Steps that cannot fail report true.
bool ApplyStep(const InstallStep& step, HWND page) {
    switch (step.kind) {
    case StepKind::kPostMessage:
        if (page != nullptr) {
            PostMessageW(page, step.message, 0, 0);
        }
        return true;
    case StepKind::kSetStage:
        Session().installStage = step.stage;
        return true;
    case StepKind::kWriteSetupRecord:
        WriteSetupRecord();
        return true;
    case StepKind::kPrerequisite:
        return RunPrerequisite(step.path, page) == 1;
    case StepKind::kProductPackage:
        return RunProductPackage(step.path, page, page) == 1;
    case StepKind::kRefusedItem:
        LogEvent(L"refused package item (no plain name): " + step.path);
        ShowFileMissing(step.path, page);
        return false;
    case StepKind::kProgramWithArguments:
        // No progress window: this run does not move the page's bar.
        return RunWithArguments(step.path, step.arguments, nullptr, page) == 1;
    case StepKind::kMsiPackage:
        return InstallMsiPackage(step.path, page) == 1;
    case StepKind::kMsiWithProperties:
        return InstallMsiPackageWithProperties(step.path, step.arguments, page) == 1;
    case StepKind::kDeleteFile:
        return DeleteFileW(step.path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
               GetLastError() == ERROR_PATH_NOT_FOUND;
    case StepKind::kCopyFile:
        return CopyFileWritable(step.path, step.destination);
    case StepKind::kWriteIniValue:
        return WriteIniValueIfPresent(step.path, step.section, step.key, step.value);
    case StepKind::kCreateFolderTree:
        return CreateFolderTree(step.path) == 1;
    case StepKind::kStartNewInstallLog:
        return StartNewInstallLog(step.path);
    case StepKind::kEnsureInstallLog:
        return EnsureInstallLog(step.path);
    case StepKind::kSecureInstallFolder:
        if (GetFileAttributesW(step.path.c_str()) != INVALID_FILE_ATTRIBUTES && !fw::SecureInstallFolder(step.path)) {
            LogEvent(L"the rights of " + step.path + L" cannot be set");
        }
        return true;
    case StepKind::kRegisterComServer:
        return RegisterComServer(step.path) == 1;
    case StepKind::kRunHidden:
        return RunHidden(step.path, step.arguments, step.role) == 1;
    case StepKind::kConfigurator:
        return RunConfigurator(step.path, page) == 1;
    case StepKind::kProductRegistration:
        WriteProductRegistration(nullptr);
        return true;
    case StepKind::kHideMainWindow:
        Call(CurrentUninstallWindows().hideMainWindow);
        return true;
    case StepKind::kOpenWaitWindow:
        Call(CurrentUninstallWindows().openWaitWindow);
        return true;
    case StepKind::kStartProgram:
        return StartAndWait(step.path.c_str(), step.arguments, kCommandLineChars, WindowState::kDefault, step.role);
    case StepKind::kHandOverUninstaller:
        return HandOverToUninstaller(step.path, step.destination, step.arguments, step.wait);
    }
    return true;
}

}  // namespace

std::wstring InstallFailureText(const std::wstring& name) {
    return name + L" " + LoadText(IDS_INSTALL_FAILED, L"Failed to install,Please reinstall!");
}

std::wstring RegisterFailureText(const std::wstring& name) {
    return name + L"," + LoadText(IDS_REGISTER_FAILED, L"Failed to Register,Please reinstall!");
}

void ReportInstallFailure(const std::wstring& name, HWND owner) {
    ShowTipMessage(kTipNotice, InstallFailureText(name).c_str(), owner);
}

void ReportRegisterFailure(const std::wstring& name, HWND owner) {
    ShowTipMessage(kTipQuestion, RegisterFailureText(name).c_str(), owner);
}

namespace {

bool EndsRun(OnFailure onFailure) {
    return onFailure == OnFailure::kFail || onFailure == OnFailure::kRegisterFail;
}

// Tells of a failed step that ends the run: on the page, its notice or the
// register question; unattended, the notice (through the message function,
// so SUPPRESSMSGBOXES answers it) unless the step's runner has told of the
// failure itself already.
void ReportFailure(const InstallStep& step, HWND page, FailureReport report, bool alreadyTold) {
    if (report == FailureReport::kToPage) {
        if (step.onFailure == OnFailure::kRegisterFail) {
            ReportRegisterFailure(step.failureName, page);
        } else {
            ReportInstallFailure(step.failureName, page);
        }
    } else if (report == FailureReport::kUnattended && !alreadyTold) {
        ReportInstallFailure(step.failureName, nullptr);
    }
}

void PostJobEnd(HWND page, FailureReport report, JobEnd end) {
    if (report == FailureReport::kToPage && page != nullptr) {
        PostMessageW(page, WM_INSTALL_FAILED, end, 0);
    }
}

}  // namespace

JobOutcome ApplyInstallPlan(const std::vector<InstallStep>& steps, HWND page, FailureReport report) {
    // A configuration program that failed does not stop what follows it
    // (the registration, the clean-up): the copy is installed, and the run
    // reports the failure at its end.
    bool notConfigured = false;
    for (size_t i = 0; i < steps.size(); ++i) {
        const InstallStep& step = steps[i];
        if (Session().cancelRequested.load() != 0) {
            LogEvent(L"cancelled by the person before step " + fw::DecimalText(i + 1) + L" of " +
                     fw::DecimalText(steps.size()));
            PostJobEnd(page, report, kJobCancelled);
            return JobOutcome::kCancelled;
        }
        if (notConfigured && step.kind == StepKind::kPostMessage && step.message == WM_INSTALL_DONE) {
            PostJobEnd(page, report, kJobFailedInstalled);
            continue;
        }
        LogEvent(StepBeginEvent(i + 1, steps.size(), DescribeStep(step, Session(), report)));
        const ULONGLONG started = GetTickCount64();
        const unsigned messagesBefore = MessagesRaisedOnThisThread();
        const bool done = ApplyStep(step, page);
        const bool endsRun = !done && EndsRun(step.onFailure);
        LogEvent(StepEndEvent(i + 1, steps.size(), done, GetTickCount64() - started, endsRun));
        if (done || step.onFailure == OnFailure::kIgnore) {
            continue;
        }
        if (step.onFailure == OnFailure::kRegisterAsk) {
            // The uninstall asks and goes on: what is left is KUninstall's work.
            ReportRegisterFailure(step.failureName, page);
            continue;
        }
        // A package the Windows Installer stopped because the person
        // cancelled is no failure to report: the cancel is.
        if (Session().cancelRequested.load() != 0) {
            LogEvent(L"the step ended early because the person cancelled");
            PostJobEnd(page, report, kJobCancelled);
            return JobOutcome::kCancelled;
        }
        ReportFailure(step, page, report, MessagesRaisedOnThisThread() != messagesBefore);
        if (step.onFailure == OnFailure::kFailInstalled) {
            LogEvent(L"installed but not configured: a Repair configures the copy");
            notConfigured = true;
            continue;
        }
        PostJobEnd(page, report, kJobFailed);
        return JobOutcome::kFailed;
    }
    return notConfigured ? JobOutcome::kFailedInstalled : JobOutcome::kDone;
}

void RunInstallJob(HWND page) {
    const InstallFacts facts = InstallFacts::OfThisMachine(Session(), false);
    ApplyInstallPlan(PlanInstall(Session(), facts), page, FailureReport::kToPage);
}

}  // namespace korv
