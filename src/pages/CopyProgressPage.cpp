#include "pages/CopyProgressPage.h"

#include "engine/InstallJob.h"
#include "engine/InstallPlan.h"
#include "engine/InstallThread.h"
#include "engine/Uninstall.h"
#include "framework/ResourceModule.h"
#include "pages/CopyProgressRules.h"
#include "resource.h"
#include "session/InstallSession.h"
#include "session/DiagnosticLog.h"
#include "session/LocalText.h"
#include "session/ProgressMessages.h"
#include "session/TipMessage.h"
#include "skin/BackgroundWindows.h"

namespace korv {

namespace {

constexpr COLORREF kCaptionColour = RGB(78, 89, 105);
constexpr int kCaptionHeight = 17;

}  // namespace

CKorvCopyFilesDlg::CKorvCopyFilesDlg(CWnd* parent) : CArcBitmapDialog(IDD_COPY_PROGRESS, parent) {
    SetBackgroundImageId(IDP_SLIDE_1);
}

CKorvCopyFilesDlg::~CKorvCopyFilesDlg() {
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
}

void CKorvCopyFilesDlg::DoDataExchange(fw::CDataExchange& dx) {
    CArcBitmapDialog::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_COPY_PROGRESS, bar_);
    fw::DDX_Control(dx, IDC_COPY_STAGE, caption_);
    fw::DDX_Control(dx, IDC_COPY_SLIDE_TITLE, slideTitle_);
    fw::DDX_Control(dx, IDC_COPY_SLIDE_TEXT, slideText_);
    fw::DDX_Control(dx, IDC_COPY_SPARE_TEXT, spare_);
    fw::DDX_Control(dx, IDC_PAGE_LABEL1, label1_);
    fw::DDX_Control(dx, IDC_PAGE_LABEL2, label2_);
    fw::DDX_Control(dx, IDC_COPY_CANCEL, cancel_);
}

bool CKorvCopyFilesDlg::OnInitDialog() {
    InstallSession& s = Session();
    CArcBitmapDialog::OnInitDialog();

    caption_.SetTextStyle(kCaptionHeight, kCaptionColour);
    slideTitle_.SetTextStyle(35, RGB(7, 25, 54));
    slideTitle_.UseFrameworkFont(2);
    slideTitle_.SetCentered(true);
    slideText_.SetTextStyle(21, RGB(60, 68, 94));
    slideText_.SetCentered(true);
    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), true);
    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), false);

    ShowSlide(1, true);
    SetTimer(kSlideTimer, kSlidePeriodMs);

    label1_.SetLabelTextColor(s.textColour);
    label2_.SetLabelTextColor(s.textColour);
    cancel_.SetButtonText(LoadText(IDS_BUTTON_CANCEL, L"Cancel"));
    cancel_.SetPngImages(IDP_EXIT_NORMAL, IDP_EXIT_PRESSED, IDP_EXIT_HOVER);
    cancel_.SetTextColors(RGB(78, 89, 105), RGB(51, 51, 51), RGB(89, 90, 90), RGB(78, 89, 105));
    cancel_.SetFontHeight(21);

    if (BackWindowHandle() != nullptr) {
        ::SendMessageW(BackWindowHandle(), WM_BKWND_COMMAND, IDP_SLIDE_1, 0);
    }

    // From here on the worker's messages (and the MSI library's) are owned
    // by this page.
    s.progressWindow = GetSafeHwnd();

    bar_.ShowWindow(SW_SHOW);
    StepCountFacts facts;
    facts.windowsInstallerRegistered = InstallFacts::OfThisMachine(s, false).windowsInstallerRegistered;
    facts.os64Bit = s.os64Bit;
    facts.product64Bit = s.product64Bit;
    std::vector<PackageSteps> packages;
    for (const PackageRecord& record : s.packages) {
        packages.push_back({record.check, record.package});
    }
    totalSteps_ = TotalProgressSteps(facts, packages);
    bar_.SetRange(0, totalSteps_);
    currentStep_ = 1;
    bar_.SetPos(currentStep_);
    bar_.SetBkColor(RGB(200, 200, 200));

    // When the worker cannot be started, StartInstallThread posts
    // WM_INSTALL_FAILED itself; the page then ends as for a failed job,
    // without a rollback (this run installed nothing).
    worker_ = StartInstallThread(GetSafeHwnd());
    return true;
}

void CKorvCopyFilesDlg::ShowSlide(int n, bool opening) {
    slide_ = n;
    const Slide slide = SlideNumber(n);
    slideTitle_.SetText(LoadText(slide.titleId, slide.title));
    slideText_.SetText(LoadText(slide.textId, opening ? kOpeningSlideText : slide.text));
    RedrawChild(slideTitle_);
    RedrawChild(slideText_);
}

void CKorvCopyFilesDlg::RedrawChild(const fw::CWnd& child) {
    // The texts are drawn over the page's picture without a background of
    // their own: the page's area behind a changed text is redrawn first, or
    // the new text would land on the old glyphs.
    if (child.GetSafeHwnd() == nullptr) {
        return;
    }
    RECT r = child.GetWindowRect();
    MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(GetSafeHwnd(), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CKorvCopyFilesDlg::RefreshCaption() {
    const CaptionText chosen = StageCaption(Session().installStage);
    const std::wstring text = LoadText(chosen.textId, chosen.fallback);
    if (caption_.Text() == text) {
        return;
    }
    caption_.SetTextStyle(kCaptionHeight, kCaptionColour);
    caption_.SetText(text);
    ++captionChanges_;
    RedrawChild(caption_);
}

LRESULT CKorvCopyFilesDlg::OnPackageEnd(WPARAM, LPARAM) {
    currentStep_ = NextProgressStep(currentStep_, totalSteps_);
    bar_.SetPos(currentStep_);
    return 0;
}

LRESULT CKorvCopyFilesDlg::OnTipOpened(WPARAM, LPARAM) {
    SetInputBlocked(true);
    bar_.SetInputBlocked(true);
    return 0;
}

LRESULT CKorvCopyFilesDlg::OnTipClosed(WPARAM, LPARAM) {
    SetInputBlocked(false);
    bar_.SetInputBlocked(false);
    return 0;
}

LRESULT CKorvCopyFilesDlg::OnProgressMoved(WPARAM, LPARAM) {
    RefreshCaption();
    return 0;
}

LRESULT CKorvCopyFilesDlg::OnInstallDone(WPARAM, LPARAM) {
    EndJob(true, 0);
    return 0;
}

LRESULT CKorvCopyFilesDlg::OnInstallFailed(WPARAM end, LPARAM) {
    EndJob(false, end);
    return 0;
}

bool CKorvCopyFilesDlg::PreTranslateMessage(MSG& msg) {
    const HWND self = GetSafeHwnd();
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && self != nullptr &&
        (msg.hwnd == self || ::IsChild(self, msg.hwnd))) {
        OnCancel();
        return true;
    }
    return CArcBitmapDialog::PreTranslateMessage(msg);
}

void CKorvCopyFilesDlg::OnCancel() {
    InstallSession& s = Session();
    if (ended_ || asking_ || s.cancelRequested.load() != 0) {
        return;
    }
    if (!MessagesSuppressed() || s.askBeforeCancel) {
        TipRequest question;
        question.kind = kTipQuestion;
        question.text = s.maintenanceMode == kModeInstall
                            ? LoadText(IDS_CONFIRM_CANCEL_INSTALL,
                                       L"Do you want to cancel the installation? What has been installed so far "
                                       L"will be removed.")
                            : LoadText(IDS_CONFIRM_CANCEL_MAINTENANCE,
                                       L"Do you want to cancel? Korvanix 2024 stays installed with the changes made "
                                       L"so far; a Repair completes it.");
        question.owner = GetSafeHwnd();
        question.focusOnCancel = true;
        // The job goes on while the person reads: this page keeps taking
        // the worker's messages, and an end it reports waits for the answer.
        question.shownWhenSuppressed = s.askBeforeCancel;
        asking_ = true;
        const bool yes = ShowTip(question).endCode == kTipOk;
        asking_ = false;
        if (!yes) {
            if (endPending_) {
                endPending_ = false;
                EndJob(pendingSucceeded_, pendingEnd_);
            }
            return;
        }
    }
    LogEvent(L"the person cancels the installation on the copy-progress page");
    s.cancelRequested = 1;
    cancel_.EnableWindow(false);
    if (endPending_) {
        // The job ended while the question was up. A failure stays a
        // failure; a job that completed is undone as asked.
        endPending_ = false;
        EndJob(pendingSucceeded_, pendingSucceeded_ ? static_cast<WPARAM>(kJobCancelled) : pendingEnd_);
    }
}

void CKorvCopyFilesDlg::EndJob(bool succeeded, WPARAM end) {
    if (ended_) {
        return;
    }
    if (asking_) {
        endPending_ = true;
        pendingSucceeded_ = succeeded;
        pendingEnd_ = end;
        return;
    }
    if (succeeded && Session().cancelRequested.load() != 0) {
        // The person said yes just as the job completed its last step.
        succeeded = false;
        end = kJobCancelled;
    }
    ended_ = true;
    currentStep_ = totalSteps_;
    bar_.SetPos(currentStep_);
    KillTimer(kSlideTimer);
    if (succeeded) {
        // The full bar stays for a second; a timer rather than a sleep keeps
        // the page painting and answering meanwhile.
        SetTimer(kSuccessHoldTimer, kSuccessHoldMs);
        return;
    }
    const bool workerRan = worker_ != nullptr;
    EndWorker();
    const bool newInstallation = Session().maintenanceMode == kModeInstall;
    if (!workerRan) {
        ShowTipMessage(kTipNotice, LoadText(IDS_INSTALL_FAILED, L"Failed to install,Please reinstall!").c_str(),
                       GetSafeHwnd());
    } else if (end == kJobFailedInstalled) {
        // Every package is installed; only the configuration failed.
        LogEvent(L"the installed copy stays; a Repair runs the configuration program again");
    } else if (newInstallation) {
        // A new installation that failed or was cancelled is taken away
        // again, and this page stays until that is done.
        LogEvent(end == kJobCancelled ? L"cancelled: the new installation is rolled back"
                                      : L"the new installation failed: it is rolled back");
        if (RollbackInstall() != 1) {
            LogEvent(L"the rollback failed: part of the installation may remain");
        }
    } else if (end == kJobCancelled) {
        // A failed or cancelled Modify or Repair leaves the installed copy
        // as it is: the uninstaller would remove the whole product the
        // person only wanted to change.
        LogEvent(L"cancelled: the installed copy stays and may need a Repair");
    }
    EndDialog(2);
}

void CKorvCopyFilesDlg::EndWorker() {
    if (worker_ != nullptr) {
        worker_->PostThreadMessage(WM_QUIT, 0, 0);
        worker_ = nullptr;
    }
}

void CKorvCopyFilesDlg::OnTimer(UINT_PTR id) {
    if (id == kSlideTimer) {
        ShowSlide(NextSlide(slide_), false);
        if (BackWindowHandle() != nullptr) {
            ::SendMessageW(BackWindowHandle(), WM_BKWND_COMMAND, SlideNumber(slide_).picture, 0);
        }
        RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    } else if (id == kSuccessHoldTimer) {
        KillTimer(kSuccessHoldTimer);
        EndWorker();
        EndDialog(1);
    }
}

HBRUSH CKorvCopyFilesDlg::OnPageCtlColor(HDC dc, HWND control, UINT type) {
    HBRUSH brush = OnCtlColor(dc, control, type);
    if (type == CTLCOLOR_STATIC) {
        SetTextColor(dc, Session().textColour);
    }
    return brush;
}

void CKorvCopyFilesDlg::OnDestroy() {
    KillTimer(kSlideTimer);
    KillTimer(kSuccessHoldTimer);
    if (Session().progressWindow == GetSafeHwnd()) {
        Session().progressWindow = nullptr;
    }
    Default();
}

const fw::MessageMap& CKorvCopyFilesDlg::GetMessageMap() const {
    static const fw::MessageMap map(CArcBitmapDialog::GetMessageMap(), {
        fw::on::Message(WM_INSTALL_STARTED, &CKorvCopyFilesDlg::OnInstallStarted),
        fw::on::Message(WM_PACKAGE_BEGIN, &CKorvCopyFilesDlg::OnPackageBegin),
        fw::on::Message(WM_PACKAGE_END, &CKorvCopyFilesDlg::OnPackageEnd),
        fw::on::Message(WM_TIP_OPENED, &CKorvCopyFilesDlg::OnTipOpened),
        fw::on::Message(WM_TIP_CLOSED, &CKorvCopyFilesDlg::OnTipClosed),
        fw::on::Message(WM_PROGRESS_MOVED, &CKorvCopyFilesDlg::OnProgressMoved),
        fw::on::Message(WM_INSTALL_DONE, &CKorvCopyFilesDlg::OnInstallDone),
        fw::on::Message(WM_INSTALL_FAILED, &CKorvCopyFilesDlg::OnInstallFailed),
        fw::on::Timer(&CKorvCopyFilesDlg::OnTimer),
        fw::on::CtlColor(&CKorvCopyFilesDlg::OnPageCtlColor),
        fw::on::Destroy(&CKorvCopyFilesDlg::OnDestroy),
    });
    return map;
}

}  // namespace korv
