#include "pages/FinishPage.h"

#include <initializer_list>

#include "engine/FileOperations.h"
#include "engine/InstallPlan.h"
#include "engine/PackageRunner.h"
#include "framework/ResourceModule.h"
#include "resource.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "skin/BackgroundWindows.h"

namespace korv {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

bool ConfigureWorkspace(HWND owner) {
    InstallSession& s = Session();
    const std::wstring configurator =
        MediumFolder(s) + (s.product64Bit == 1 ? L"\\files\\SetupWriter_x64.exe" : L"\\files\\SetupWriter.exe");
    // The runner posts nothing to the window it is given; it only owns the
    // missing-file notice.
    if (RunConfigurator(configurator, owner) != 1) {
        return false;
    }
    WriteIniValueIfPresent(s.targetFolder + L"\\Setup.ini", L"SETUP", L"CLASSIC",
                           s.classicWorkspace != 0 ? L"1" : L"0");
    return true;
}

CKorvFinishDlg::CKorvFinishDlg(CWnd* parent) : CXResizingDialog(IDD_FINISH, parent) {
    SetBackgroundImageId(IDP_FINISH_BACKGROUND);
}

CKorvFinishDlg::~CKorvFinishDlg() {
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
}

void CKorvFinishDlg::DoDataExchange(fw::CDataExchange& dx) {
    CXResizingDialog::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_FINISH_DRAFTING, drafting_);
    fw::DDX_Control(dx, IDC_FINISH_CLASSIC, classic_);
    fw::DDX_Control(dx, IDC_FINISH_DRAFTING_CAPTION, draftingCaption_);
    fw::DDX_Control(dx, IDC_FINISH_CLASSIC_CAPTION, classicCaption_);
    fw::DDX_Control(dx, IDC_FINISH_WORKSPACE_PROMPT, prompt_);
    fw::DDX_Control(dx, IDC_FINISH_HEADLINE, headline_);
    fw::DDX_Control(dx, IDC_PAGE_LABEL1, label_);
    fw::DDX_Control(dx, IDC_FINISH_NEXT, next_);
}

bool CKorvFinishDlg::OnInitDialog() {
    InstallSession& s = Session();
    const bool result = CXResizingDialog::OnInitDialog();
    SetForegroundWindow(GetSafeHwnd());
    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), true);
    SetIcon(LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP)), false);
    label_.SetLabelTextColor(s.textColour);

    draftingCaption_.SetText(LoadText(IDS_WORKSPACE_DRAFTING, L"2D Drafting"));
    draftingCaption_.SetStaticTextColor(kWhite);
    draftingCaption_.SetCentered(true);
    classicCaption_.SetText(LoadText(IDS_WORKSPACE_CLASSIC, L"Korvanix Classic"));
    classicCaption_.SetStaticTextColor(kWhite);
    classicCaption_.SetCentered(true);
    prompt_.SetText(LoadText(IDS_WORKSPACE_PROMPT, L"Please select your favourite workspace"));
    prompt_.SetTextStyle(27, RGB(7, 25, 54));
    prompt_.SetCentered(true);
    draftingCaption_.ShowWindow(SW_HIDE);
    classicCaption_.ShowWindow(SW_HIDE);
    prompt_.ShowWindow(SW_HIDE);

    next_.SetTextColors(kWhite);
    next_.SetFontHeight(21);
    finalLayout_ = s.maintenanceMode != kModeInstall;
    if (finalLayout_) {
        next_.SetButtonText(LoadText(IDS_BUTTON_FINISH, L"Finish"));
        next_.SetPngImages(IDP_FINISH_NORMAL, IDP_FINISH_PRESSED, IDP_FINISH_HOVER);
        if (BackWindowHandle() != nullptr) {
            ::SendMessageW(BackWindowHandle(), WM_BKWND_COMMAND, IDP_FINISH_FINAL_BACKGROUND, 0);
        }
        headline_.SetText(headline_.GetWindowText());
        headline_.SetTextStyle(35, RGB(77, 77, 77));
        headline_.SetCentered(true);
        drafting_.ShowWindow(SW_HIDE);
        classic_.ShowWindow(SW_HIDE);
        // The choice is made already: the hint about it has nothing to say.
        label_.ShowWindow(SW_HIDE);
    } else {
        next_.SetButtonText(LoadText(IDS_BUTTON_NEXT, L"Next"));
        next_.SetPngImages(IDP_NEXT_NORMAL, IDP_NEXT_PRESSED, IDP_NEXT_HOVER);
        prompt_.ShowWindow(SW_SHOW);
        headline_.ShowWindow(SW_HIDE);
        if (BackWindowHandle() != nullptr) {
            ::SendMessageW(BackWindowHandle(), WM_BKWND_COMMAND, IDP_FINISH_WORKSPACE_BACKGROUND, 0);
        }
        GiveCaption(drafting_, draftingCaption_);
        GiveCaption(classic_, classicCaption_);
        ChooseWorkspace(s.classicWorkspace != 0 ? 1 : 0);
    }
    if (BackWindowHandle() != nullptr) {
        ::SetWindowPos(BackWindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    // The focus starts on Next (Finish): never on a choice a stray key
    // press would change.
    next_.SetFocus();
    return result;
}

void CKorvFinishDlg::GiveCaption(CFinishPngButton& button, const CKorvStatic& caption) {
    button.SetCaptionFrom(caption);
    RECT captionRect = caption.GetWindowRect();
    const RECT buttonRect = button.GetWindowRect();
    OffsetRect(&captionRect, -buttonRect.left, -buttonRect.top);
    button.SetCaptionRect(captionRect.left, captionRect.top, captionRect.right, captionRect.bottom);
}

void CKorvFinishDlg::ChooseWorkspace(int classic) {
    Session().classicWorkspace = classic;
    drafting_.SetPngImages(classic != 0 ? IDP_DRAFTING_UNCHOSEN : IDP_DRAFTING_CHOSEN);
    classic_.SetPngImages(classic != 0 ? IDP_CLASSIC_CHOSEN : IDP_CLASSIC_UNCHOSEN);
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    next_.Invalidate(false);
    next_.UpdateWindow();
}

void CKorvFinishDlg::OnOK() {
    OnNext();
}

void CKorvFinishDlg::Configure() {
    if (configured_ || Session().maintenanceMode != kModeInstall) {
        return;
    }
    configured_ = true;
    configuring_ = true;
    for (fw::CWnd* button : std::initializer_list<fw::CWnd*>{&next_, &drafting_, &classic_}) {
        button->EnableWindow(false);
    }
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    configurationFailed_ = !ConfigureWorkspace(GetSafeHwnd());
    configuring_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void CKorvFinishDlg::HidePageAndBackground() {
    ShowWindow(SW_HIDE);
    CKvPngBkDlg* background = BackWindow();
    if (background != nullptr && background->GetSafeHwnd() != nullptr) {
        background->ShowWindow(SW_HIDE);
    }
}

bool CKorvFinishDlg::OnPageSetCursor(HWND, UINT, UINT) {
    if (configuring_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return true;
    }
    return false;
}

void CKorvFinishDlg::OnCancel() {
    if (configuring_) {
        return;
    }
    Configure();
    EndDialog(IDCANCEL);
    HidePageAndBackground();
}

void CKorvFinishDlg::OnNext() {
    InstallSession& s = Session();
    if (configuring_) {
        return;  // a second press while the program runs
    }
    if (finalLayout_ || s.maintenanceMode != kModeInstall) {
        EndDialog(IDC_FINISH_NEXT);
        HidePageAndBackground();
        return;
    }
    Configure();
    EndDialog(IDC_FINISH_NEXT);
    HidePageAndBackground();
    CKvPngBkDlg* background = BackWindow();
    // The final layout follows also when the configuration failed: the
    // product is installed, and the person gets the ending of the wizard;
    // the run's exit code tells that the configuration is still to do.
    s.maintenanceMode = kModeRepair;
    CKorvFinishDlg finalPage(background);
    finalPage.SetBackWindow(background);
    if (background != nullptr && background->GetSafeHwnd() != nullptr) {
        background->ShowPng(IDP_FINISH_BACKGROUND);
        background->ShowWindow(SW_SHOW);
        background->SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    finalPage.DoModal();
    if (background != nullptr && background->GetSafeHwnd() != nullptr) {
        background->ShowWindow(SW_HIDE);
    }
}

INT_PTR CKorvFinishDlg::DoModal() {
    INT_PTR result = CXResizingDialog::DoModal();
    // Ended some other way before the program had its run (neither Next nor
    // the close box): it gets its run and the choice its record all the
    // same, without a second page.
    if (result != kNoResult && !configured_ && Session().maintenanceMode == kModeInstall) {
        configured_ = true;
        configurationFailed_ = !ConfigureWorkspace();
    }
    return result;
}

HBRUSH CKorvFinishDlg::OnPageCtlColor(HDC dc, HWND control, UINT type) {
    HBRUSH brush = OnCtlColor(dc, control, type);
    if (type == CTLCOLOR_STATIC) {
        SetTextColor(dc, Session().textColour);
    }
    return brush;
}

const fw::MessageMap& CKorvFinishDlg::GetMessageMap() const {
    static const fw::MessageMap map(CXResizingDialog::GetMessageMap(), {
        fw::on::Command(IDC_FINISH_NEXT, &CKorvFinishDlg::OnNext),
        fw::on::Command(IDC_FINISH_DRAFTING, &CKorvFinishDlg::OnDrafting),
        fw::on::Command(IDC_FINISH_CLASSIC, &CKorvFinishDlg::OnClassic),
        fw::on::CtlColor(&CKorvFinishDlg::OnPageCtlColor),
        fw::on::SetCursor(&CKorvFinishDlg::OnPageSetCursor),
    });
    return map;
}

}  // namespace korv
