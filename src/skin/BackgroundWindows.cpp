#include "skin/BackgroundWindows.h"

#include <utility>

#include "resource.h"
#include "skin/BorderStretch.h"
#include "skin/Dpi.h"
#include "skin/GdiPlus.h"

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

namespace {

const std::uint32_t* DibBits(HBITMAP bitmap) {
    DIBSECTION dib{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib)) {
        return nullptr;
    }
    return static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
}

// A picture pixel (premultiplied) as the page paints it: its colour when
// the picture covers it (nearly) fully, else `key`. "Nearly": a picture
// drawn at a scale that is not whole softens its edges by a pixel, and such
// an edge is the card, not its shadow.
std::uint32_t OpaqueColour(std::uint32_t picture, std::uint32_t key) {
    constexpr std::uint32_t kCovered = 240;
    std::uint32_t alpha = picture >> 24;
    if (alpha < kCovered) {
        return key;
    }
    auto channel = [&](int shift) {
        std::uint32_t value = ((picture >> shift) & 0xFF) * 255 / alpha;
        return (value > 255 ? 255 : value) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

}  // namespace

fw::UniqueBitmap CKvPngBkDlg::Render(Gdiplus::Image* image, int width, int height) const {
    if (fixedBorder_ <= 0 || image == nullptr) {
        return fw::UniqueBitmap(RenderToAlphaBitmap(image, width, height));
    }
    // The whole picture at the screen's scale first (border included), then
    // its middle stretched to the size asked for.
    int scaledWidth = ScaleToDpi(static_cast<int>(image->GetWidth()));
    int scaledHeight = ScaleToDpi(static_cast<int>(image->GetHeight()));
    fw::UniqueBitmap scaled(RenderToAlphaBitmap(image, scaledWidth, scaledHeight));
    fw::UniqueBitmap sized(RenderToAlphaBitmap(nullptr, width, height));
    const std::uint32_t* from = DibBits(scaled.Get());
    auto* to = const_cast<std::uint32_t*>(DibBits(sized.Get()));
    if (from == nullptr || to == nullptr) {
        return fw::UniqueBitmap(RenderToAlphaBitmap(image, width, height));
    }
    StretchKeepingBorder(from, scaledWidth, scaledHeight, to, width, height, ScaleToDpi(fixedBorder_));
    return sized;
}

void CKvPngBkDlg::RenderPng(UINT id, int width, int height) {
    // The picture on show at this size already: decoding and laying it again
    // would give the same pixels (the welcome page asks for the one the
    // wizard has just shown), and it is a good part of a page's start. The
    // page in front is still repainted, as after a new picture.
    if (shown_ && id == currentImageId_ && width == shownWidth_ && height == shownHeight_ &&
        GetSafeHwnd() != nullptr) {
        RedrawPage();
        return;
    }
    currentImageId_ = id;
    if (GetSafeHwnd() == nullptr) {
        return;
    }
    RECT window = GetWindowRect();
    image_.reset();
    image_ = LoadPngResource(id);
    fw::UniqueBitmap bitmap = Render(image_.get(), width, height);
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
    shown_ = std::move(bitmap);
    shownBits_ = DibBits(shown_.Get());
    shownWidth_ = width;
    shownHeight_ = height;
    RedrawPage();
}

void CKvPngBkDlg::RedrawPage() const {
    // The page in front paints the picture's opaque pixels on its own
    // surface: it must follow the new picture (a slide, a new size).
    if (page_ != nullptr && ::IsWindow(page_)) {
        ::RedrawWindow(page_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void CKvPngBkDlg::PaintOpaquePart(HDC dc, const RECT& area, POINT screenOrigin, COLORREF elsewhere) const {
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    fw::UniqueBitmap part(RenderToAlphaBitmap(nullptr, width, height));
    auto* out = const_cast<std::uint32_t*>(DibBits(part.Get()));
    if (out == nullptr) {
        return;
    }
    RECT window{};
    bool shown = shownBits_ != nullptr && GetSafeHwnd() != nullptr && ::GetWindowRect(GetSafeHwnd(), &window);
    const std::uint32_t key = (static_cast<std::uint32_t>(GetRValue(elsewhere)) << 16) |
                              (static_cast<std::uint32_t>(GetGValue(elsewhere)) << 8) | GetBValue(elsewhere);
    for (int y = 0; y < height; ++y) {
        int py = screenOrigin.y + y - window.top;
        for (int x = 0; x < width; ++x) {
            int px = screenOrigin.x + x - window.left;
            std::uint32_t pixel = key;
            if (shown && px >= 0 && py >= 0 && px < shownWidth_ && py < shownHeight_) {
                pixel = OpaqueColour(shownBits_[static_cast<long long>(py) * shownWidth_ + px], key);
            }
            out[static_cast<long long>(y) * width + x] = pixel;
        }
    }
    GdiFlush();
    HDC memory = CreateCompatibleDC(dc);
    {
        fw::SelectGuard select(memory, part.Get());
        BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
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
