#include "pages/UninstallWait.h"

#include "session/LocalText.h"
#include "resource.h"
#include "skin/BackgroundWindows.h"
#include "skin/Png.h"

namespace korv {

namespace {

HICON AppIcon() {
    return static_cast<HICON>(
        LoadImageW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

}  // namespace

bool CKorvInitUninstallDlg::Create(HWND parent) {
    return CDialog::Create(IDD_UNINSTALL_WAIT, parent);
}

void CKorvInitUninstallDlg::DoDataExchange(fw::CDataExchange& dx) {
    CDialogEx::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_UNINSTALL_WAIT_TEXT, text_);
}

bool CKorvInitUninstallDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    icon_ = AppIcon();
    SetIcon(icon_, true);
    SetIcon(icon_, false);
    SetWindowText(LoadText(IDS_PRODUCT_INSTANCE_NAME, L"Korvanix2024").c_str());
    // Looked up by name: the layering call is not present on every system
    // this program may start on.
    using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user = GetModuleHandleW(L"User32.DLL");
    auto setLayered =
        user != nullptr ? reinterpret_cast<SetLayered>(GetProcAddress(user, "SetLayeredWindowAttributes")) : nullptr;
    if (setLayered != nullptr) {
        ModifyStyleEx(0, WS_EX_LAYERED);
        setLayered(GetSafeHwnd(), 0, 255, LWA_ALPHA);
    }
    CenterWindow(GetDesktopWindow());
    return true;
}

void CKorvInitUninstallDlg::OnPaint() {
    if (IsIconic(GetSafeHwnd()) && icon_ != nullptr) {
        PaintIconicWindow(GetSafeHwnd(), icon_);
        return;
    }
    Default();
}

const fw::MessageMap& CKorvInitUninstallDlg::GetMessageMap() const {
    static const fw::MessageMap map(CDialogEx::GetMessageMap(), {
        fw::on::Paint(&CKorvInitUninstallDlg::OnPaint),
        fw::on::QueryDragIcon(&CKorvInitUninstallDlg::OnQueryDragIcon),
    });
    return map;
}

bool CPngTransparentWndDlg::Create(HWND parent) {
    return CDialog::Create(IDD_TIP_BACKGROUND, parent);
}

int CPngTransparentWndDlg::OnCreate(CREATESTRUCTW*) {
    int result = static_cast<int>(Default());
    wait_ = std::make_unique<CKorvInitUninstallDlg>();
    if (wait_->Create(GetSafeHwnd())) {
        wait_->ShowWindow(SW_SHOW);
    }
    return result;
}

bool CPngTransparentWndDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    icon_ = AppIcon();
    SetIcon(icon_, true);
    SetIcon(icon_, false);
    blend_ = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE, GetExStyle() ^ WS_EX_LAYERED);
    RECT r{};
    if (wait_ != nullptr && wait_->GetSafeHwnd() != nullptr) {
        r = wait_->GetWindowRect();
    }
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    // Every pixel zero: the host covers the wait window without being seen.
    fw::UniqueBitmap clear(RenderToAlphaBitmap(nullptr, width, height));
    fw::ClientDC screen(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    {
        fw::SelectGuard select(memory, clear.Get());
        POINT destination{r.left, r.top};
        SIZE size{width, height};
        POINT source{0, 0};
        UpdateLayeredWindow(GetSafeHwnd(), screen, &destination, &size, memory, &source, 0, &blend_, ULW_ALPHA);
    }
    DeleteDC(memory);
    return true;
}

void CPngTransparentWndDlg::OnDestroy() {
    Default();
    wait_.reset();
}

void CPngTransparentWndDlg::OnPaint() {
    if (IsIconic(GetSafeHwnd()) && icon_ != nullptr) {
        PaintIconicWindow(GetSafeHwnd(), icon_);
        return;
    }
    Default();
}

const fw::MessageMap& CPngTransparentWndDlg::GetMessageMap() const {
    static const fw::MessageMap map(CDialog::GetMessageMap(), {
        fw::on::Create(&CPngTransparentWndDlg::OnCreate),
        fw::on::Destroy(&CPngTransparentWndDlg::OnDestroy),
        fw::on::Paint(&CPngTransparentWndDlg::OnPaint),
        fw::on::QueryDragIcon(&CPngTransparentWndDlg::OnQueryDragIcon),
    });
    return map;
}

UninstallWindows MakeUninstallWindows(fw::CWnd* mainWindow) {
    // One wait window at a time, on the thread that runs the procedure.
    auto host = std::make_shared<std::unique_ptr<CPngTransparentWndDlg>>();
    UninstallWindows windows;
    windows.hideMainWindow = [mainWindow] {
        if (mainWindow != nullptr && mainWindow->GetSafeHwnd() != nullptr) {
            mainWindow->ShowWindow(SW_HIDE);
        }
    };
    windows.openWaitWindow = [host] {
        auto window = std::make_unique<CPngTransparentWndDlg>();
        if (window->Create(nullptr)) {
            window->ShowWindow(SW_SHOWNA);
            window->UpdateWindow();
            *host = std::move(window);
        }
    };
    windows.closeWaitWindow = [host] { host->reset(); };
    return windows;
}

}  // namespace korv
