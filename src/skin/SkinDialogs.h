// The skinned dialog bases.
//
// CArcBitmapDialog is a wizard page (and the tip dialog): a captionless
// dialog in front of its background window (a CKvPngBkDlg, ScaleToDpi(10)
// larger on every side), which shows a picture with per-pixel alpha. The
// page paints on its surface the picture's pixels that lie behind it where
// the picture is opaque, and the colour key RGB(230,230,250) elsewhere; a
// colour-keyed layered window leaves out the key's pixels, so the rounded
// corners and soft edges of the background show through. (A surface of
// nothing but the key would look the same on a bare screen, but anti-aliased
// text and edges would blend with the key, and a compositor that draws
// anything under the page, such as a shadow, would show it through.) The
// page drags by any point of its surface, keeps its background window sized
// and placed, and swallows Escape and F1.
#pragma once

#include <windows.h>

#include "framework/Framework.h"

namespace korv {

class CKvPngBkDlg;

// The framework dialog with a dialog brush of its own (the hollow brush).
class CBitmapDialog : public fw::CDialog {
public:
    using CDialog::CDialog;

protected:
    HBRUSH DialogBrush() const { return brush_; }
    void SetDialogBrush(HBRUSH brush) { brush_ = brush; }

private:
    HBRUSH brush_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
};

class CArcBitmapDialog : public CBitmapDialog {
public:
    static constexpr COLORREF kColorKey = RGB(230, 230, 250);

    using CBitmapDialog::CBitmapDialog;

    // Remembers the background window; once both windows exist they are
    // placed at the top of the window order as topmost windows, this page
    // first, then its background, and the background learns its page.
    void SetBackWindow(CKvPngBkDlg* background);
    CKvPngBkDlg* BackWindow() const { return background_; }
    HWND BackWindowHandle() const { return backgroundHwnd_; }

    // The picture the background window shows while this page is up.
    UINT BackgroundImageId() const { return backgroundImageId_; }

    // While set, the page cannot be dragged and mouse presses and moves on
    // it and its controls are swallowed; the keyboard still works.
    void SetInputBlocked(bool blocked) { inputBlocked_ = blocked; }
    bool InputBlocked() const { return inputBlocked_; }

    // Tells the background window the page's size plus ScaleToDpi(10) on
    // every side, and the page's handle.
    void SyncBackWindow();

    bool PreTranslateMessage(MSG& msg) override;
    const fw::MessageMap& GetMessageMap() const override;

protected:
    void SetBackgroundImageId(UINT id) { backgroundImageId_ = id; }
    // How far the background window reaches beyond the page on each side:
    // ScaleToDpi(10) for pages.
    virtual int BackMargin() const;

    bool OnInitDialog() override;
    bool OnEraseBkgnd(HDC dc);
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);
    LRESULT OnNcHitTest(POINT point);
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    bool OnHelpInfo(HELPINFO*) { return true; }
    void OnSysCommand(UINT command, LPARAM);

private:
    UINT backgroundImageId_ = 0;
    CKvPngBkDlg* background_ = nullptr;
    HWND backgroundHwnd_ = nullptr;
    // A pattern brush of the page's surface behind `control` (null when the
    // control has no area).
    HBRUSH SurfaceBrushBehind(HWND control);

    bool inputBlocked_ = false;
    fw::UniqueBrush keyBrush_;
    fw::UniqueBrush staticBrush_;
};

// The last client origin any page moved its background window to; shared by
// all pages of the process so that a new page does not jolt the background.
POINT LastPagePosition();
void ResetLastPagePosition();

// A page with a size grip and its creation size as minimum size. The grip
// answers the mouse as the bottom-right corner of a frame, so pressing it
// resizes the page; the rest of the surface drags it.
class CXResizingDialog : public CArcBitmapDialog {
public:
    using CArcBitmapDialog::CArcBitmapDialog;

    void ShowGrip(bool show) { showGrip_ = show; }
    // The grip's rectangle in client coordinates: the bottom-right corner,
    // as wide as a scroll bar arrow and as high.
    RECT GripRect() const;
    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    int OnCreate(CREATESTRUCTW* cs);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnSizeResizing(UINT type, int cx, int cy);
    void OnPaint();
    LRESULT OnNcHitTestResizing(POINT point);

private:
    bool showGrip_ = true;
    int initialWidth_ = 0;
    int initialHeight_ = 0;
    int lastClientWidth_ = 0;
    int lastClientHeight_ = 0;
    RECT grip_{};
};

}  // namespace korv
