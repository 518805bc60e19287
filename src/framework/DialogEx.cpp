#include "framework/DialogEx.h"

namespace fw {

void CDialogEx::SetBackgroundColor(COLORREF color, bool repaint) {
    ownBrush_.Reset(CreateSolidBrush(color));
    brush_ = ownBrush_.Get();
    Repaint(repaint);
}

void CDialogEx::SetBackgroundBrush(HBRUSH brush, bool repaint) {
    ownBrush_.Reset();
    brush_ = brush;
    Repaint(repaint);
}

void CDialogEx::Repaint(bool repaint) {
    if (repaint && GetSafeHwnd() != nullptr) {
        RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

HBRUSH CDialogEx::OnCtlColor(HDC dc, HWND control, UINT type) {
    if (brush_ != nullptr) {
        if (type == CTLCOLOR_DLG) {
            return brush_;
        }
        if (type == CTLCOLOR_STATIC) {
            // The label's cell is painted with the dialog's own brush, so the
            // text stands on the same background without a transparent
            // repaint leaving old letters behind.
            SetBkMode(dc, TRANSPARENT);
            return brush_;
        }
    }
    return reinterpret_cast<HBRUSH>(Default());
}

bool CDialogEx::OnEraseBkgnd(HDC dc) {
    if (brush_ == nullptr) {
        return Default() != 0;
    }
    RECT client = GetClientRect();
    FillRect(dc, &client, brush_);
    return true;
}

const MessageMap& CDialogEx::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(), {
        on::CtlColor(&CDialogEx::OnCtlColor),
        on::EraseBkgnd(&CDialogEx::OnEraseBkgnd),
    });
    return map;
}

}  // namespace fw
