// CDialogEx: a dialog with a background colour or brush of its own, used
// for its surface and behind its static texts.
#pragma once

#include "framework/Dialog.h"
#include "framework/Handles.h"

namespace fw {

class CDialogEx : public CDialog {
public:
    using CDialog::CDialog;

    // A solid colour; the brush is owned by the dialog.
    void SetBackgroundColor(COLORREF color, bool repaint = true);
    // A brush that stays the caller's (it must outlive the dialog); null
    // goes back to the system's dialog colour.
    void SetBackgroundBrush(HBRUSH brush, bool repaint = true);
    HBRUSH BackgroundBrush() const { return brush_; }

    const MessageMap& GetMessageMap() const override;

protected:
    HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);
    bool OnEraseBkgnd(HDC dc);

private:
    void Repaint(bool repaint);

    UniqueBrush ownBrush_;
    HBRUSH brush_ = nullptr;
};

}  // namespace fw
