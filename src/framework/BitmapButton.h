// CBitmapButton: the owner-drawn button base. It makes its control
// owner-drawn when it takes it over, receives the parent's WM_DRAWITEM for
// it in DrawItem, and keeps four state bitmaps that the default DrawItem
// blits (pressed, else focused, else disabled, else normal, when present).
#pragma once

#include <windows.h>

#include "framework/Controls.h"
#include "framework/Handles.h"

namespace fw {

class CBitmapButton : public CButton {
public:
    enum State { Normal = 0, Selected = 1, Focus = 2, Disabled = 3 };

    // Loads the bitmaps from the current resource module; id 0 leaves that
    // state without one. False when the normal bitmap is missing.
    bool LoadBitmaps(UINT normal, UINT selected = 0, UINT focus = 0, UINT disabled = 0);
    HBITMAP StateBitmap(State state) const { return bitmaps_[state].Get(); }
    void SetStateBitmap(State state, UniqueBitmap bitmap) { bitmaps_[state] = std::move(bitmap); }

    // Sizes the button to its normal bitmap.
    void SizeToContent();

    virtual void DrawItem(const DRAWITEMSTRUCT& item);

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    void PreSubclassWindow() override;

private:
    UniqueBitmap bitmaps_[4];
};

}  // namespace fw
