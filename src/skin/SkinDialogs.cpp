#include "skin/SkinDialogs.h"

#include "skin/BackgroundWindows.h"
#include "skin/Dpi.h"

namespace korv {

namespace {
POINT g_lastPagePosition{0, 0};  // main thread only, like the pages
}

POINT LastPagePosition() {
    return g_lastPagePosition;
}

void ResetLastPagePosition() {
    g_lastPagePosition = {0, 0};
}

void CArcBitmapDialog::SetBackWindow(CKvPngBkDlg* background) {
    background_ = background;
    backgroundHwnd_ = background != nullptr ? background->GetSafeHwnd() : nullptr;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (GetSafeHwnd() != nullptr) {
        SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, flags);
    }
    if (backgroundHwnd_ != nullptr) {
        ::SetWindowPos(backgroundHwnd_, HWND_TOPMOST, 0, 0, 0, 0, flags);
        if (GetSafeHwnd() != nullptr) {
            ::SendMessageW(backgroundHwnd_, WM_BKWND_COMMAND, BKWND_SETPAGE, reinterpret_cast<LPARAM>(GetSafeHwnd()));
        }
    }
}

bool CArcBitmapDialog::OnInitDialog() {
    CBitmapDialog::OnInitDialog();
    ModifyStyle(WS_CAPTION, 0, SWP_FRAMECHANGED);
    CenterWindow();
    ::SetMenu(GetSafeHwnd(), nullptr);
    keyBrush_.Reset(CreateSolidBrush(kColorKey));
    SetDialogBrush(keyBrush_.Get());
    ModifyStyleEx(0, WS_EX_LAYERED);
    // Pixels of exactly the key colour are left out, so the background
    // window shows through; the alpha value is unused with this flag.
    SetLayeredWindowAttributes(GetSafeHwnd(), kColorKey, 1, LWA_COLORKEY);
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (backgroundHwnd_ != nullptr) {
        ::SetWindowPos(backgroundHwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    }
    SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    return true;
}

bool CArcBitmapDialog::OnEraseBkgnd(HDC dc) {
    // Controls without a background of their own ask for this too (with
    // their own context moved to this page's coordinates): the clip box is
    // the part wanted.
    RECT client = GetClientRect();
    RECT area{};
    if (GetClipBox(dc, &area) == ERROR) {
        area = client;
    }
    if (!IntersectRect(&area, &area, &client)) {
        return true;
    }
    bool linked = background_ != nullptr && backgroundHwnd_ != nullptr && ::IsWindow(backgroundHwnd_) &&
                  fw::CWnd::FromHandlePermanent(backgroundHwnd_) == background_;
    if (linked) {
        POINT origin{area.left, area.top};
        ClientToScreen(GetSafeHwnd(), &origin);
        background_->PaintOpaquePart(dc, area, origin, kColorKey);
    } else {
        fw::UniqueBrush key(CreateSolidBrush(kColorKey));
        FillRect(dc, &area, key.Get());
    }
    return true;
}

HBRUSH CArcBitmapDialog::OnCtlColor(HDC dc, HWND control, UINT type) {
    auto brush = reinterpret_cast<HBRUSH>(Default());
    if (type == CTLCOLOR_DLG) {
        return DialogBrush();
    }
    if (type == CTLCOLOR_STATIC) {
        SetBkMode(dc, TRANSPARENT);
        // Not the hollow brush: a static fills itself with this brush before
        // its text, and a hollow one leaves the old text under a new one.
        // The page's own surface behind the control looks the same and
        // clears it.
        HBRUSH surface = SurfaceBrushBehind(control);
        return surface != nullptr ? surface : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    return brush;
}

HBRUSH CArcBitmapDialog::SurfaceBrushBehind(HWND control) {
    RECT r{};
    if (control == nullptr || !::GetWindowRect(control, &r)) {
        return nullptr;
    }
    MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    fw::ClientDC page(GetSafeHwnd());
    fw::MemoryDC surface(page, width, height);
    if (!surface) {
        return nullptr;
    }
    // The surface in this page's coordinates, as the page erases it.
    SetViewportOrgEx(surface, -r.left, -r.top, nullptr);
    OnEraseBkgnd(surface);
    SetViewportOrgEx(surface, 0, 0, nullptr);
    // The control fills its client area from its own origin, where the
    // pattern starts. The brush lives until the next control asks: a static
    // paints with it at once.
    staticBrush_.Reset(CreatePatternBrush(surface.Bitmap()));
    return staticBrush_.Get();
}

LRESULT CArcBitmapDialog::OnNcHitTest(POINT) {
    if (inputBlocked_) {
        return HTNOWHERE;
    }
    LRESULT hit = Default();
    return hit == HTCLIENT ? HTCAPTION : hit;
}

bool CArcBitmapDialog::PreTranslateMessage(MSG& msg) {
    HWND self = GetSafeHwnd();
    if (self != nullptr && (msg.hwnd == self || ::IsChild(self, msg.hwnd))) {
        if (inputBlocked_ && (msg.message == WM_LBUTTONDOWN || msg.message == WM_MOUSEMOVE)) {
            return true;
        }
        if (msg.message == WM_KEYDOWN && (msg.wParam == VK_F1 || msg.wParam == VK_ESCAPE)) {
            return true;
        }
    }
    return CBitmapDialog::PreTranslateMessage(msg);
}

void CArcBitmapDialog::OnSysCommand(UINT command, LPARAM) {
    // 0xF012 is the move command that dragging by the caption sends.
    if (inputBlocked_ && ((command & 0xFFF0) == SC_MOVE || command == 0xF012)) {
        return;
    }
    Default();
}

void CArcBitmapDialog::OnSize(UINT, int, int) {
    Default();
    SyncBackWindow();
}

void CArcBitmapDialog::SyncBackWindow() {
    if (backgroundHwnd_ == nullptr || GetSafeHwnd() == nullptr) {
        return;
    }
    RECT r = GetWindowRect();
    int margin = BackMargin();
    int width = r.right - r.left + 2 * margin;
    int height = r.bottom - r.top + 2 * margin;
    ::SendMessageW(backgroundHwnd_, WM_BKWND_COMMAND, BKWND_SETSIZE, MAKELPARAM(width, height));
    ::SendMessageW(backgroundHwnd_, WM_BKWND_COMMAND, BKWND_SETPAGE, reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

int CArcBitmapDialog::BackMargin() const {
    return ScaleToDpi(10);
}

void CArcBitmapDialog::OnMove(int x, int y) {
    if (backgroundHwnd_ == nullptr) {
        return;
    }
    int m = BackMargin();
    RECT r{};
    ::GetWindowRect(backgroundHwnd_, &r);
    int dy = y - m - r.top;
    int dx = x - m - r.left;
    if (x == r.left && y == r.top) {
        return;
    }
    if (dy == 3 && dx == 0) {
        return;
    }
    OffsetRect(&r, dx, dy);
    if (x != g_lastPagePosition.x || y != g_lastPagePosition.y) {
        ::MoveWindow(backgroundHwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        g_lastPagePosition = {x, y};
    }
}

const fw::MessageMap& CArcBitmapDialog::GetMessageMap() const {
    static const fw::MessageMap map(CBitmapDialog::GetMessageMap(), {
        fw::on::EraseBkgnd(&CArcBitmapDialog::OnEraseBkgnd),
        fw::on::CtlColor(&CArcBitmapDialog::OnCtlColor),
        fw::on::NcHitTest(&CArcBitmapDialog::OnNcHitTest),
        fw::on::Size(&CArcBitmapDialog::OnSize),
        fw::on::Move(&CArcBitmapDialog::OnMove),
        fw::on::HelpInfo(&CArcBitmapDialog::OnHelpInfo),
        fw::on::SysCommand(&CArcBitmapDialog::OnSysCommand),
    });
    return map;
}

bool CXResizingDialog::OnInitDialog() {
    CArcBitmapDialog::OnInitDialog();
    return false;
}

int CXResizingDialog::OnCreate(CREATESTRUCTW* cs) {
    int result = static_cast<int>(Default());
    initialWidth_ = cs->cx;
    initialHeight_ = cs->cy;
    return result;
}

void CXResizingDialog::OnGetMinMaxInfo(MINMAXINFO* info) {
    Default();
    if (initialWidth_ > 0 && initialHeight_ > 0) {
        info->ptMinTrackSize = {initialWidth_, initialHeight_};
        info->ptMaxTrackSize.y -= 35;
    }
}

void CXResizingDialog::OnSizeResizing(UINT type, int cx, int cy) {
    OnSize(type, cx, cy);
    if (type == SIZE_MINIMIZED) {
        return;
    }
    lastClientWidth_ = cx;
    lastClientHeight_ = cy;
    if (showGrip_) {
        InvalidateRect(&grip_);
    }
    Invalidate();
}

RECT CXResizingDialog::GripRect() const {
    RECT grip = GetClientRect();
    grip.left = grip.right - GetSystemMetrics(SM_CXHSCROLL);
    grip.top = grip.bottom - GetSystemMetrics(SM_CYVSCROLL);
    return grip;
}

void CXResizingDialog::OnPaint() {
    Default();
    if (!showGrip_) {
        return;
    }
    grip_ = GripRect();
    fw::ClientDC dc(GetSafeHwnd());
    RECT grip = grip_;
    DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

LRESULT CXResizingDialog::OnNcHitTestResizing(POINT point) {
    LRESULT hit = OnNcHitTest(point);
    if (hit != HTCAPTION || !showGrip_) {
        return hit;  // blocked input, or a control, stays as it is
    }
    // The base turns the whole surface into caption for dragging; the grip
    // is the frame's corner, or pressing it would move the page instead of
    // sizing it.
    ScreenToClient(GetSafeHwnd(), &point);
    RECT grip = GripRect();
    return PtInRect(&grip, point) ? HTBOTTOMRIGHT : hit;
}

const fw::MessageMap& CXResizingDialog::GetMessageMap() const {
    static const fw::MessageMap map(CArcBitmapDialog::GetMessageMap(), {
        fw::on::Create(&CXResizingDialog::OnCreate),
        fw::on::GetMinMaxInfo(&CXResizingDialog::OnGetMinMaxInfo),
        fw::on::Size(&CXResizingDialog::OnSizeResizing),
        fw::on::Paint(&CXResizingDialog::OnPaint),
        fw::on::NcHitTest(&CXResizingDialog::OnNcHitTestResizing),
    });
    return map;
}

}  // namespace korv
