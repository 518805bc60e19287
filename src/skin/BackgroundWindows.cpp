#include "skin/BackgroundWindows.h"

#include "resource.h"

namespace korv {

void PaintIconicWindow(HWND window, HICON icon) {
    fw::PaintDC dc(window);
    RECT client{};
    ::GetClientRect(window, &client);
    int cx = GetSystemMetrics(SM_CXICON);
    int cy = GetSystemMetrics(SM_CYICON);
    int x = (client.right - client.left - cx + 1) / 2;
    int y = (client.bottom - client.top - cy + 1) / 2;
    DrawIcon(dc, x, y, icon);
}

bool CKvPngBkDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    icon_ = static_cast<HICON>(LoadImageW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0,
                                          LR_DEFAULTSIZE | LR_SHARED));
    SetIcon(icon_, true);
    SetIcon(icon_, false);
    blend_ = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // Switched, not added: the templates must not carry the style.
    SetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE, GetExStyle() ^ WS_EX_LAYERED);
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

void CKvPngBkDlg::RenderPng(UINT id, int width, int height) {
    currentImageId_ = id;
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    RECT window = GetWindowRect();
    image_.reset();
    image_ = LoadPngResource(id);
    fw::UniqueBitmap bitmap(RenderToAlphaBitmap(image_.get(), width, height));
    if (!bitmap) {
        return;
    }
    fw::ClientDC screen(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    {
        fw::SelectGuard select(memory, bitmap.Get());
        POINT destination{window.left, window.top};
        SIZE size{width, height};
        POINT source{0, 0};
        UpdateLayeredWindow(GetSafeHwnd(), screen, &destination, &size, memory, &source, 0, &blend_, ULW_ALPHA);
    }
    DeleteDC(memory);
}

LRESULT CKvPngBkDlg::OnBkCommand(WPARAM command, LPARAM value) {
    if (command == BKWND_SETSIZE) {
        width_ = LOWORD(value);
        height_ = HIWORD(value);
        RenderPng(currentImageId_, width_, height_);
    } else if (command == BKWND_SETPAGE) {
        page_ = reinterpret_cast<HWND>(value);
    } else {
        RenderPng(static_cast<UINT>(command), width_, height_);
    }
    return 0;
}

bool CKvPngBkDlg::PreTranslateMessage(MSG& msg) {
    // wParam 1 is the OK command's number, not a picture: a posted request
    // with it is dropped.
    if (msg.hwnd == GetSafeHwnd() && msg.message == WM_BKWND_COMMAND && msg.wParam == 1) {
        return true;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CKvPngBkDlg::OnSysCommand(UINT command, LPARAM) {
    // Closing from the task bar closes the page in front first.
    if ((command & 0xFFF0) == SC_CLOSE && page_ != nullptr && ::IsWindow(page_)) {
        ::SendMessageW(page_, WM_CLOSE, 0, 0);
    }
    Default();
}

void CKvPngBkDlg::OnPaint() {
    if (IsIconic(GetSafeHwnd()) && icon_ != nullptr) {
        PaintIconicWindow(GetSafeHwnd(), icon_);
        return;
    }
    Default();
}

const fw::MessageMap& CKvPngBkDlg::GetMessageMap() const {
    static const fw::MessageMap map(CDialog::GetMessageMap(), {
        fw::on::Message(WM_BKWND_COMMAND, &CKvPngBkDlg::OnBkCommand),
        fw::on::SysCommand(&CKvPngBkDlg::OnSysCommand),
        fw::on::Paint(&CKvPngBkDlg::OnPaint),
        fw::on::QueryDragIcon(&CKvPngBkDlg::OnQueryDragIcon),
    });
    return map;
}

CKvPngMainBKDlg::CKvPngMainBKDlg(CWnd* parent) : CKvPngBkDlg(IDD_MAIN_BACKGROUND, parent) {
    SetSize(kWidth, kHeight);
}

bool CKvPngMainBKDlg::Create(CWnd* parent) {
    return CDialog::Create(IDD_MAIN_BACKGROUND, parent);
}

bool CKvPngTipBKDlg::Create(HWND parent) {
    return CDialog::Create(IDD_TIP_BACKGROUND, parent);
}

bool CKvPngTipBKDlg::OnInitDialog() {
    CKvPngBkDlg::OnInitDialog();
    SetSize(kWidth, kHeight);
    SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow(GetDesktopWindow());
    return true;
}

}  // namespace korv
