#include "app/WizardSequence.h"

#include "framework/WinThread.h"
#include "pages/CopyProgressPage.h"
#include "pages/FinishPage.h"
#include "pages/WelcomePage.h"
#include "session/ExitCodes.h"
#include "session/InstallSession.h"
#include "skin/BackgroundWindows.h"

namespace korv {

namespace {

CKvPngBkDlg* MainBackground() {
    return dynamic_cast<CKvPngBkDlg*>(fw::AfxGetMainWnd());
}

INT_PTR RunRealPage(WizardPage which) {
    fw::CWnd* owner = fw::AfxGetMainWnd();
    switch (which) {
    case WizardPage::kWelcome: {
        CKorvWelcomeDlg page(owner);
        return ShowWizardPage(page);
    }
    case WizardPage::kCopyProgress: {
        CKorvCopyFilesDlg page(owner);
        return ShowWizardPage(page);
    }
    case WizardPage::kFinish: {
        CKorvFinishDlg page(owner);
        return ShowWizardPage(page);
    }
    }
    return fw::CDialog::kNoResult;
}

void HideMainBackground() {
    CKvPngBkDlg* background = MainBackground();
    if (background != nullptr && background->GetSafeHwnd() != nullptr) {
        background->ShowWindow(SW_HIDE);
    }
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
    const int exitCode = RunInstallWizard(RunRealPage);
    HideMainBackground();
    return exitCode;
}

int RunInstallWizard(const PageRunner& runPage) {
    InstallSession& s = Session();
    const INT_PTR welcome = runPage(WizardPage::kWelcome);
    if (welcome != kPageInstall) {
        s.showInfoPage = 0;
        // Exit or the close box is the person's choice; a page that could not
        // be made at all (a resource library without it) is a broken medium.
        return welcome == fw::CDialog::kNoResult ? kExitFatal : kExitUserDeclined;
    }
    if (runPage(WizardPage::kCopyProgress) != kPageDone) {
        s.showInfoPage = 0;
        return kExitFatal;
    }
    runPage(WizardPage::kFinish);
    return kExitSuccess;
}

}  // namespace korv
