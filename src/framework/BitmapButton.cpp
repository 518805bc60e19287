#include "framework/BitmapButton.h"

#include "framework/DeviceContext.h"
#include "framework/ResourceModule.h"

namespace fw {

bool CBitmapButton::LoadBitmaps(UINT normal, UINT selected, UINT focus, UINT disabled) {
    const UINT ids[] = {normal, selected, focus, disabled};
    for (int i = 0; i < 4; ++i) {
        bitmaps_[i].Reset(ids[i] != 0 ? static_cast<HBITMAP>(LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(ids[i]),
                                                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))
                                      : nullptr);
    }
    return static_cast<bool>(bitmaps_[Normal]);
}

void CBitmapButton::SizeToContent() {
    BITMAP info{};
    if (!bitmaps_[Normal] || GetObjectW(bitmaps_[Normal].Get(), sizeof(info), &info) == 0) {
        return;
    }
    SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HBITMAP bitmap = bitmaps_[Normal].Get();
    if ((item.itemState & ODS_SELECTED) && bitmaps_[Selected]) {
        bitmap = bitmaps_[Selected].Get();
    } else if ((item.itemState & ODS_FOCUS) && bitmaps_[Focus]) {
        bitmap = bitmaps_[Focus].Get();
    } else if ((item.itemState & ODS_DISABLED) && bitmaps_[Disabled]) {
        bitmap = bitmaps_[Disabled].Get();
    }
    if (bitmap == nullptr) {
        return;
    }
    HDC source = CreateCompatibleDC(item.hDC);
    {
        SelectGuard select(source, bitmap);
        const RECT& r = item.rcItem;
        BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0, SRCCOPY);
    }
    DeleteDC(source);
}

bool CBitmapButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    }
    return CButton::OnChildNotify(message, wParam, lParam, result);
}

bool CBitmapButton::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style = (cs.style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
    return CButton::PreCreateWindow(cs);
}

void CBitmapButton::PreSubclassWindow() {
    // A template's push button becomes owner-drawn here; the button reads
    // its type at every paint, so the change takes effect at once.
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    Invalidate();
}

}  // namespace fw
