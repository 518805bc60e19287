#include "engine/InstallJob.h"

#include "session/DiagnosticLog.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "config/InstalledRecords.h"
#include "engine/EngineMessages.h"
#include "engine/FileOperations.h"
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
    case StepKind::kSecureInstallFolder:
        if (GetFileAttributesW(step.path.c_str()) != INVALID_FILE_ATTRIBUTES && !fw::SecureInstallFolder(step.path)) {
            LogEvent(L"the rights of " + step.path + L" cannot be set");
        }
        return true;
    case StepKind::kRegisterComServer:
        return RegisterComServer(step.path) == 1;
    case StepKind::kRunHidden:
        return RunHidden(step.path, step.arguments) == 1;
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
        StartAndWait(step.path.c_str(), step.arguments, kCommandLineChars, WindowState::kDefault);
        return true;
    case StepKind::kHandOverUninstaller:
        return HandOverToUninstaller(step.path, step.destination);
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

bool ApplyInstallPlan(const std::vector<InstallStep>& steps, HWND page, FailureReport report) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const InstallStep& step = steps[i];
        LogEvent(StepBeginEvent(i + 1, steps.size(), DescribeStep(step, Session(), report)));
        const ULONGLONG started = GetTickCount64();
        const bool done = ApplyStep(step, page);
        const bool endsRun = !done && step.onFailure != OnFailure::kIgnore && step.onFailure != OnFailure::kRegisterAsk;
        LogEvent(StepEndEvent(i + 1, steps.size(), done, GetTickCount64() - started, endsRun));
        if (done || step.onFailure == OnFailure::kIgnore) {
            continue;
        }
        if (step.onFailure == OnFailure::kRegisterAsk) {
            // The uninstall asks and goes on: what is left is KUninstall's work.
            ReportRegisterFailure(step.failureName, page);
            continue;
        }
        if (report == FailureReport::kToPage) {
            if (step.onFailure == OnFailure::kRegisterFail) {
                ReportRegisterFailure(step.failureName, page);
            } else {
                ReportInstallFailure(step.failureName, page);
            }
            if (page != nullptr) {
                PostMessageW(page, WM_INSTALL_FAILED, 0, 0);
            }
        }
        return false;
    }
    return true;
}

void RunInstallJob(HWND page) {
    const InstallFacts facts = InstallFacts::OfThisMachine(Session(), false);
    ApplyInstallPlan(PlanInstall(Session(), facts), page, FailureReport::kToPage);
}

}  // namespace korv
