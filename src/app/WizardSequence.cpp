#include "app/WizardSequence.h"

#include "engine/Uninstall.h"
#include "framework/WinThread.h"
#include "pages/CopyProgressPage.h"
#include "pages/FeaturePage.h"
#include "pages/FinishPage.h"
#include "pages/MaintenancePage.h"
#include "pages/WelcomePage.h"
#include "resource.h"
#include "session/DiagnosticLog.h"
#include "session/ExitCodes.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "skin/BackgroundWindows.h"

namespace korv {

namespace {

CKvPngBkDlg* MainBackground() {
    return dynamic_cast<CKvPngBkDlg*>(fw::AfxGetMainWnd());
}

}  // namespace

INT_PTR RunWizardPage(WizardPage which, int& choice) {
    fw::CWnd* owner = fw::AfxGetMainWnd();
    switch (which) {
    case WizardPage::kWelcome: {
        CKorvWelcomeDlg page(owner);
        return ShowWizardPage(page);
    }
    case WizardPage::kCopyProgress: {
        // In maintenance the page keeps the picture of the page before it
        // until its first slide.
        CKorvCopyFilesDlg page(owner);
        return ShowWizardPage(page, Session().maintenanceMode != kModeInstall);
    }
    case WizardPage::kFinish: {
        CKorvFinishDlg page(owner);
        const INT_PTR code = ShowWizardPage(page);
        return page.ConfigurationFailed() ? kPageConfigurationFailed : code;
    }
    case WizardPage::kMaintenance: {
        CKVUninstallWelcomeDialog page(owner);
        const INT_PTR code = ShowWizardPage(page);
        choice = page.Selection();
        return code;
    }
    case WizardPage::kFeatures: {
        CKorvFeatureDlg page(owner);
        return ShowWizardPage(page);
    }
    }
    return fw::CDialog::kNoResult;
}

namespace {

void HideMainBackground() {
    CKvPngBkDlg* background = MainBackground();
    if (background != nullptr && background->GetSafeHwnd() != nullptr) {
        background->ShowWindow(SW_HIDE);
    }
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ConfirmUninstallText() {
    return LoadText(IDS_CONFIRM_UNINSTALL,
                    L"You are trying to uninstall Korvanix. Once the operation is determined to be irreversible, "
                    L"please save the data properly. Are you sure to uninstall Korvanix?");
}

// The uninstall of the installed copy; 2013 when it could not be handed over.
int Uninstall(const std::function<int()>& uninstall) {
    if (uninstall() == 1) {
        return kExitSuccess;
    }
    ShowTipMessage(kTipNotice, LoadText(IDS_UNINSTALL_FAILED, L"Failed to uninstall!").c_str());
    return kExitFatal;
}

// The exit code of a page that ended the sequence early: the person's
// choice, or a page that could not be made at all.
int LeftWith(INT_PTR code) {
    Session().showInfoPage = 0;
    return code == fw::CDialog::kNoResult ? kExitFatal : kExitUserDeclined;
}

// The copy-progress page ended without success: the person cancelled the
// job (1602), or it failed (1603). No finish page, no information page.
int JobDidNotComplete() {
    Session().showInfoPage = 0;
    return Session().cancelRequested.load() != 0 ? kExitUserDeclined : kExitFatal;
}

}  // namespace

INT_PTR ShowWizardPage(CArcBitmapDialog& page, bool keepPicture) {
    CKvPngBkDlg* background = MainBackground();
    page.SetBackWindow(background);
    if (background != nullptr && background->GetSafeHwnd() != nullptr && !keepPicture) {
        background->ShowPng(page.BackgroundImageId());
    }
    // DoModal destroys the page's window when its loop ends.
    return page.DoModal();
}

int RunInstallWizard() {
    const int exitCode = RunInstallWizard(RunWizardPage);
    HideMainBackground();
    return exitCode;
}

int RunInstallWizard(const PageRunner& runPage) {
    InstallSession& s = Session();
    int unused = 0;
    const INT_PTR welcome = runPage(WizardPage::kWelcome, unused);
    if (welcome != kPageInstall) {
        // Exit or the close box is the person's choice; a page that could not
        // be made at all (a resource library without it) is a broken medium.
        return LeftWith(welcome);
    }
    if (runPage(WizardPage::kCopyProgress, unused) != kPageDone) {
        return JobDidNotComplete();
    }
    if (runPage(WizardPage::kFinish, unused) == kPageConfigurationFailed) {
        LogEvent(L"the product is installed but the configuration program did not configure it; a Repair of the "
                 L"installed copy configures it");
        return kExitFatal;
    }
    return kExitSuccess;
}

int RunMaintenance() {
    const int exitCode = RunMaintenance(RunWizardPage, UninstallProduct);
    HideMainBackground();
    return exitCode;
}

int RunMaintenance(const PageRunner& runPage, const std::function<int()>& uninstall) {
    InstallSession& s = Session();

    // Started from the installed copy's own folder (the Windows list of
    // installed programs does that): there is nothing to modify or repair
    // from, only the uninstall.
    if (!FileExists(s.setupFolder + L"Msi") && FileExists(s.setupFolder + L"install.log")) {
        s.maintenanceMode = kModeUninstall;
        if (ShowTipMessage(kTipQuestion, ConfirmUninstallText().c_str()) != kTipOk) {
            s.showInfoPage = 0;
            return kExitUserDeclined;
        }
        return Uninstall(uninstall);
    }

    while (true) {
        int choice = 2;
        const INT_PTR start = runPage(WizardPage::kMaintenance, choice);
        if (start != kPageDone) {
            return LeftWith(start);
        }
        s.maintenanceMode = choice + 1;
        if (s.maintenanceMode == kModeUninstall) {
            return Uninstall(uninstall);
        }
        if (s.maintenanceMode == kModeModify) {
            const INT_PTR features = runPage(WizardPage::kFeatures, choice);
            if (features == kPageBack) {
                continue;  // a fresh start page
            }
            if (features != kPageNext) {
                return LeftWith(features);
            }
        }
        if (s.maintenanceMode == kModeRepair) {
            TakeInstalledChoices(s);
        }
        break;
    }

    int unused = 0;
    if (runPage(WizardPage::kCopyProgress, unused) != kPageDone) {
        return JobDidNotComplete();
    }
    if (CKvPngBkDlg* background = MainBackground()) {
        if (background->GetSafeHwnd() != nullptr) {
            background->SendMessage(WM_BKWND_COMMAND, IDP_FINISH_BACKGROUND, 0);
        }
    }
    runPage(WizardPage::kFinish, unused);
    return kExitSuccess;
}

}  // namespace korv
