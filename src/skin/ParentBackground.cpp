#include "skin/ParentBackground.h"

namespace korv {

OverParentCanvas::OverParentCanvas(HWND control, HDC target, const RECT& rect)
    : target_(target),
      rect_(rect),
      width_(rect.right - rect.left),
      height_(rect.bottom - rect.top),
      canvas_(target, width_, height_) {
    if (!*this) {
        return;
    }
    // What is there now first: a parent that paints nothing when asked
    // leaves the control as it was drawn before.
    BitBlt(Dc(), 0, 0, width_, height_, target, rect.left, rect.top, SRCCOPY);

    HWND parent = control != nullptr ? GetParent(control) : nullptr;
    if (parent == nullptr) {
        return;
    }
    // The parent erases into this canvas in its own client coordinates.
    POINT origin{rect.left, rect.top};
    MapWindowPoints(control, parent, &origin, 1);
    POINT previous{};
    SetViewportOrgEx(Dc(), -origin.x, -origin.y, &previous);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(Dc()), 0);
    SetViewportOrgEx(Dc(), previous.x, previous.y, nullptr);
}

void OverParentCanvas::Present() {
    if (*this) {
        BitBlt(target_, rect_.left, rect_.top, width_, height_, Dc(), 0, 0, SRCCOPY);
    }
}

}  // namespace korv
