// Background windows: layered top-level windows that show a PNG with
// per-pixel alpha behind a colour-keyed page (rounded corners and soft
// shadows come from the picture). The page and its background window move
// and size together, so the user sees one irregular window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Framework.h"
#include "skin/Png.h"

namespace korv {

// Sent (never posted) to a background window. wParam: BKWND_SETSIZE with
// the size packed as width (low 16 bits) and height (high 16 bits) in
// lParam; BKWND_SETPAGE with the page's window handle in lParam; any other
// value is a PNG id to show at the current size. The result is 0.
constexpr UINT WM_BKWND_COMMAND = WM_USER + 400;
constexpr WPARAM BKWND_SETSIZE = WM_USER + 403;
constexpr WPARAM BKWND_SETPAGE = WM_USER + 404;

class CKvPngBkDlg : public fw::CDialog {
public:
    using CDialog::CDialog;

    // RenderPng with the stored size.
    void ShowPng(UINT id) { RenderPng(id, width_, height_); }
    // Loads PNG `id` and shows it stretched to width x height as the whole
    // window, which takes that size. A missing picture leaves every pixel
    // transparent (the window stays, invisible).
    void RenderPng(UINT id, int width, int height);

    UINT CurrentImageId() const { return currentImageId_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    HWND PageWindow() const { return page_; }

    // Paints into `area` of `dc` what this window shows on the screen from
    // `screenOrigin` on: the picture's own colour where the picture covers
    // a pixel fully, `elsewhere` where it is see-through or absent. A page
    // paints its surface so: text and edges drawn over it then blend with
    // the card's real pixels, and only what must show through stays keyed.
    void PaintOpaquePart(HDC dc, const RECT& area, POINT screenOrigin, COLORREF elsewhere) const;

    bool PreTranslateMessage(MSG& msg) override;
    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    void SetSize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    // The picture's outer `border` pixels keep their size (scaled with the
    // screen's DPI only) when it is drawn at another size; 0: the whole
    // picture is stretched.
    void SetFixedBorder(int border) { fixedBorder_ = border; }

private:
    LRESULT OnBkCommand(WPARAM command, LPARAM value);
    void OnSysCommand(UINT command, LPARAM);
    void OnPaint();
    HCURSOR OnQueryDragIcon() { return icon_; }

    // The picture as drawn last, premultiplied 32-bit pixels, width_ x
    // height_ at the window's position.
    fw::UniqueBitmap Render(Gdiplus::Image* image, int width, int height) const;
    void RedrawPage() const;

    HICON icon_ = nullptr;  // shared from the resource library
    PngImage image_;
    fw::UniqueBitmap shown_;
    const std::uint32_t* shownBits_ = nullptr;
    int shownWidth_ = 0;
    int shownHeight_ = 0;
    int fixedBorder_ = 0;
    int width_ = 0;
    int height_ = 0;
    BLENDFUNCTION blend_{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UINT currentImageId_ = 0;
    HWND page_ = nullptr;
};

// The main background window behind every wizard page; start-up creates it
// hidden and it lives for the whole run.
class CKvPngMainBKDlg : public CKvPngBkDlg {
public:
    static constexpr int kWidth = 748;
    static constexpr int kHeight = 530;

    explicit CKvPngMainBKDlg(CWnd* parent = nullptr);
    bool Create(CWnd* parent = nullptr);
};

// The background window of one tip dialog.
class CKvPngTipBKDlg : public CKvPngBkDlg {
public:
    static constexpr int kWidth = 490;
    static constexpr int kHeight = 280;
    // The tip's card (picture 254) lies 40 pixels inside the picture and
    // has corners of radius 12: that border keeps its size at any size of
    // the tip, so the card frames the tip with the same margin.
    static constexpr int kCardBorder = 40 + 12;

    CKvPngTipBKDlg() : CKvPngBkDlg(0, static_cast<HWND>(nullptr)) { SetFixedBorder(kCardBorder); }
    // From its template; parent null: a top-level window with no owner.
    bool Create(HWND parent);

protected:
    bool OnInitDialog() override;
};

// Draws `icon` centred in the client area of a minimised window.
void PaintIconicWindow(HWND window, HICON icon);

}  // namespace korv
