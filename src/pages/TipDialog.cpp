#include "pages/TipDialog.h"

#include "session/LocalText.h"
#include "resource.h"
#include "skin/Dpi.h"

namespace korv {

namespace {

// Tip dialogs open on the UI thread and on the install worker alike, so
// the count is atomic, and taking a place in it is one step: two dialogs
// opening at the same moment can never both see an empty count.
std::atomic<int> g_openTips{0};

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreyNormal = RGB(78, 89, 105);
constexpr COLORREF kGreyPressed = RGB(51, 51, 51);
constexpr COLORREF kGreyHover = RGB(89, 90, 90);
constexpr int kBackgroundMargin = 40;

}  // namespace

int CArcTipDialog::OpenCount() {
    return g_openTips.load();
}

CArcTipDialog::CArcTipDialog(std::unique_ptr<CKvPngTipBKDlg> background)
    : CArcBitmapDialog(IDD_TIP, background.get()), background_(std::move(background)) {
    SetBackgroundImageId(IDP_TIP_BACKGROUND);
}

CArcTipDialog::~CArcTipDialog() {
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
    // A dialog that never opened (no template) was never destroyed either:
    // its page must not stay deaf to the mouse.
    ReleasePage();
    CloseBackground();
}

void CArcTipDialog::SetMessage(int kind, const std::wstring& text) {
    kind_ = kind;
    title_ = LoadText(IDS_PRODUCT_DISPLAY_NAME, L"Korvanix 2024");
    message_ = text;
}

void CArcTipDialog::AttachToPage(CArcBitmapDialog* page) {
    if (page == nullptr || background_ == nullptr) {
        return;
    }
    if (background_->GetSafeHwnd() != nullptr) {
        background_->DestroyWindow();
    }
    background_->Create(page->GetSafeHwnd());
    HWND centre = page->BackWindowHandle() != nullptr ? page->BackWindowHandle() : page->GetSafeHwnd();
    background_->CenterWindow(centre);
    // Shown (still empty), then drawn in place, as the tip without a page
    // does: a compositor that first meets the window once it is drawn takes
    // it for opaque and shades its whole rectangle.
    background_->ShowWindow(SW_SHOWNA);
    background_->RenderPng(IDP_TIP_BACKGROUND, 500, 280);
    SetBackWindow(background_.get());
    ownerWindow_ = centre;
    page_ = page;
    pageHwnd_ = page->GetSafeHwnd();
    page->SetInputBlocked(true);
}

INT_PTR CArcTipDialog::DoModal() {
    // Linked before the dialog exists: the dialog takes its size from the
    // template (larger at a higher DPI) while it is being created, and the
    // card must be sized to it from that first size on.
    if (background_ != nullptr && background_->GetSafeHwnd() != nullptr && BackWindowHandle() == nullptr) {
        SetBackWindow(background_.get());
    }
    // The background window is this dialog's owner: it goes once the dialog
    // itself is gone.
    INT_PTR result = CArcBitmapDialog::DoModal();
    CloseBackground();
    if (result == kNoResult && opened_) {
        // Gone without a button (its owner was destroyed): that is Cancel.
        result = kTipCancel;
    }
    return result;
}

void CArcTipDialog::DoDataExchange(fw::CDataExchange& dx) {
    CArcBitmapDialog::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_TIP_PICTURE, picture_);
    fw::DDX_Control(dx, IDC_TIP_TITLE, titleText_);
    fw::DDX_Control(dx, IDC_TIP_MESSAGE, messageText_);
    fw::DDX_Control(dx, IDC_TIP_OK, ok_);
    fw::DDX_Control(dx, IDC_TIP_CANCEL, cancel_);
    fw::DDX_Control(dx, IDC_TIP_FORCE_CLOSE, forceClose_);
}

bool CArcTipDialog::OnInitDialog() {
    if (background_ != nullptr && BackWindowHandle() == nullptr && background_->GetSafeHwnd() != nullptr) {
        SetBackWindow(background_.get());
    }
    CArcBitmapDialog::OnInitDialog();

    opened_ = true;
    counted_ = true;
    if (g_openTips.fetch_add(1) > 0) {
        // Another tip dialog is waiting for its answer: this one ends as if
        // Cancel had been pressed.
        PostMessage(WM_CLOSE);
    }

    picture_.SetPngImages(IDP_TIP_PICTURE);
    titleText_.SetTextStyle(27, RGB(253, 169, 17));
    titleText_.SetCentered(false);
    titleText_.SetText(title_);
    messageText_.SetTextStyle(18, RGB(77, 77, 77));
    messageText_.SetText(message_);

    ok_.SetButtonText(retryMode_ ? LoadText(IDS_BUTTON_RETRY, L"Retry") : LoadText(IDS_BUTTON_OK, L"OK"));
    ok_.SetPngImages(IDP_TIP_OK_NORMAL, IDP_TIP_OK_PRESSED, IDP_TIP_OK_HOVER);
    ok_.SetTextColors(kWhite);
    ok_.SetFontHeight(17);
    cancel_.SetButtonText(LoadText(IDS_BUTTON_CANCEL, L"Cancel"));
    cancel_.SetPngImages(IDP_TIP_CANCEL_NORMAL, IDP_TIP_CANCEL_PRESSED, IDP_TIP_CANCEL_HOVER);
    cancel_.SetTextColors(kGreyNormal, kGreyPressed, kGreyHover, kGreyNormal);
    cancel_.SetFontHeight(17);
    forceClose_.SetButtonText(LoadText(IDS_BUTTON_FORCE_CLOSE, L"Force closed"));
    forceClose_.SetPngImages(IDP_TIP_FORCE_NORMAL, IDP_TIP_FORCE_PRESSED, IDP_TIP_FORCE_HOVER);
    forceClose_.SetTextColors(kGreyNormal, kGreyPressed, kGreyHover, kGreyNormal);
    forceClose_.SetFontHeight(17);

    bool question = kind_ != kTipNotice;
    ok_.ShowWindow(SW_SHOW);
    cancel_.ShowWindow(retryMode_ || question ? SW_SHOW : SW_HIDE);
    forceClose_.ShowWindow(retryMode_ ? SW_SHOW : SW_HIDE);

    FitMessageToText();
    if (ownerWindow_ != nullptr) {
        RECT owner{};
        ::GetWindowRect(ownerWindow_, &owner);
        RECT self = GetWindowRect();
        int x = owner.left + ((owner.right - owner.left) - (self.right - self.left)) / 2;
        int y = owner.top + ((owner.bottom - owner.top) - (self.bottom - self.top)) / 2;
        SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        CenterWindow(GetDesktopWindow());
    }
    // With or without an owner, the card frames the dialog as it now is.
    PlaceBackgroundAround();
    if (background_ != nullptr && background_->GetSafeHwnd() != nullptr) {
        background_->ShowWindow(SW_SHOWNA);
    }
    // A tip that is not attached to a page of its own thread (a start-up
    // message, or the install worker's over the copy-progress page) stays
    // above every other window, card first, as a system message box with
    // MB_TOPMOST does: the page it names runs on the other thread and would
    // otherwise come back above it and take the clicks meant for its buttons.
    if (page_ == nullptr) {
        if (BackWindowHandle() != nullptr) {
            ::SetWindowPos(BackWindowHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    Invalidate();
    // The keyboard starts on OK (Retry), never on Force closed or Cancel:
    // a Space pressed before reading must not end every running korv.exe
    // or refuse the question. A question whose OK would undo work (cancel
    // the installation) starts on Cancel instead, and Enter means Cancel
    // there too. The focus is placed here, so false.
    if (focusOnCancel_ && question && !retryMode_) {
        SendMessage(DM_SETDEFID, IDC_TIP_CANCEL, 0);
        cancel_.SetFocus();
    } else {
        ok_.SetFocus();
    }
    return false;
}

void CArcTipDialog::FitMessageToText() {
    RECT area = messageText_.GetClientRect();
    int grow = messageText_.TextHeightFor(area.right) - area.bottom;
    if (grow <= 0) {
        return;
    }
    // Never taller than the screen's work area can hold with its card.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(GetSafeHwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT self = GetWindowRect();
    int room = (monitor.rcWork.bottom - monitor.rcWork.top) - 2 * BackMargin() - (self.bottom - self.top);
    if (grow > room) {
        grow = room > 0 ? room : 0;
    }
    if (grow == 0) {
        return;
    }
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    messageText_.SetWindowPos(nullptr, 0, 0, area.right, area.bottom + grow, flags | SWP_NOMOVE);
    // The buttons keep their place under the message.
    for (fw::CWnd* button : {static_cast<fw::CWnd*>(&ok_), static_cast<fw::CWnd*>(&cancel_),
                             static_cast<fw::CWnd*>(&forceClose_)}) {
        RECT r = button->GetWindowRect();
        MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
        button->SetWindowPos(nullptr, r.left, r.top + grow, 0, 0, flags | SWP_NOSIZE);
    }
    // A taller dialog: its WM_SIZE tells the card.
    SetWindowPos(nullptr, 0, 0, self.right - self.left, self.bottom - self.top + grow, flags | SWP_NOMOVE);
}

int CArcTipDialog::BackMargin() const {
    return ScaleToDpi(kBackgroundMargin);
}

RECT CArcTipDialog::WidenedWindowRect() const {
    RECT r = GetWindowRect();
    InflateRect(&r, ScaleToDpi(kBackgroundMargin), ScaleToDpi(kBackgroundMargin));
    return r;
}

void CArcTipDialog::PlaceBackgroundAround() {
    if (BackWindowHandle() == nullptr) {
        return;
    }
    RECT r = WidenedWindowRect();
    ::SetWindowPos(BackWindowHandle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    // The card's page is this dialog: it repaints its surface from the card
    // whenever the card is drawn anew.
    ::SendMessageW(BackWindowHandle(), WM_BKWND_COMMAND, BKWND_SETPAGE, reinterpret_cast<LPARAM>(GetSafeHwnd()));
    ::SendMessageW(BackWindowHandle(), WM_BKWND_COMMAND, BKWND_SETSIZE,
                   MAKELPARAM(r.right - r.left, r.bottom - r.top));
}

void CArcTipDialog::OnTipSize(UINT, int, int) {
    Default();
    if (BackWindowHandle() == nullptr) {
        return;
    }
    RECT r = WidenedWindowRect();
    ::SendMessageW(BackWindowHandle(), WM_BKWND_COMMAND, BKWND_SETSIZE,
                   MAKELPARAM(r.right - r.left, r.bottom - r.top));
}

void CArcTipDialog::OnOK() {
    choice_ = kChoiceOk;
    EndDialog(kTipOk);
}

void CArcTipDialog::OnCancel() {
    choice_ = kChoiceCancel;
    EndDialog(kTipCancel);
}

void CArcTipDialog::OnForceClose() {
    choice_ = kChoiceForceClose;
    EndDialog(kTipOk);
}

void CArcTipDialog::OnDestroy() {
    if (counted_) {
        counted_ = false;
        g_openTips.fetch_sub(1);
    }
    ReleasePage();
    Default();
}

void CArcTipDialog::ReleasePage() {
    if (page_ != nullptr && ::IsWindow(pageHwnd_)) {
        page_->SetInputBlocked(false);
    }
    page_ = nullptr;
    pageHwnd_ = nullptr;
}

void CArcTipDialog::CloseBackground() {
    if (background_ == nullptr) {
        return;
    }
    if (background_->GetSafeHwnd() != nullptr) {
        background_->SendMessage(WM_CLOSE);
        background_->DestroyWindow();
    }
    background_.reset();
}

const fw::MessageMap& CArcTipDialog::GetMessageMap() const {
    static const fw::MessageMap map(CArcBitmapDialog::GetMessageMap(), {
        fw::on::Command(IDC_TIP_FORCE_CLOSE, &CArcTipDialog::OnForceClose),
        fw::on::Size(&CArcTipDialog::OnTipSize),
        fw::on::NcHitTest(&CArcTipDialog::OnTipHitTest),
        fw::on::Destroy(&CArcTipDialog::OnDestroy),
    });
    return map;
}

namespace {

// The owner's page object, when the owner is a page running on this thread
// (a worker's message over the UI thread's page gets a window of its own).
CArcBitmapDialog* PageOnThisThread(HWND owner) {
    if (owner == nullptr || GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) {
        return nullptr;
    }
    return dynamic_cast<CArcBitmapDialog*>(fw::CWnd::FromHandlePermanent(owner));
}

}  // namespace

namespace {

// A message about a page of another thread (the install worker's messages
// over the copy-progress page) is owned by that page: owned windows stay
// above their owner, so the message is never hidden behind the page it
// belongs to and the clicks meant for it reach it.
HWND OwnerWindowFor(HWND owner) {
    return owner != nullptr && IsWindow(owner) ? GetAncestor(owner, GA_ROOT) : nullptr;
}

}  // namespace

TipAnswer PresentWithTipDialog(const TipRequest& request) {
    auto background = std::make_unique<CKvPngTipBKDlg>();
    CKvPngTipBKDlg* backgroundWindow = background.get();
    CArcTipDialog dialog(std::move(background));
    dialog.SetMessage(request.kind, request.text);
    dialog.SetRetryMode(request.retryMode);
    dialog.SetFocusOnCancel(request.focusOnCancel);
    if (CArcBitmapDialog* page = PageOnThisThread(request.owner)) {
        dialog.AttachToPage(page);
    } else if (backgroundWindow->Create(OwnerWindowFor(request.owner))) {
        // Shown, then drawn: the first drawing turns the window into one with
        // an alpha channel, and a compositor that first meets it only after
        // that change (xcompmgr does) may take it for opaque and shade it.
        backgroundWindow->ShowWindow(SW_SHOWNA);
        backgroundWindow->RenderPng(IDP_TIP_BACKGROUND, CKvPngTipBKDlg::kWidth, CKvPngTipBKDlg::kHeight);
        dialog.SetOwnerWindow(request.owner);
    }
    INT_PTR code = dialog.DoModal();
    if (!dialog.Opened()) {
        // No dialog could be made (a resource library without the tip
        // template): the message must still reach the user.
        return PresentWithMessageBox(request);
    }
    return TipAnswer{static_cast<int>(code), dialog.GetChoice()};
}

}  // namespace korv
