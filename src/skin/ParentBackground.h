// Drawing a control that has no background of its own (texts and pictures
// over a page): it starts from what its parent shows behind it. A control
// that simply drew over its last picture would keep the old glyphs under a
// new text, and its anti-aliased edges would darken at every repaint.
#pragma once

#include <windows.h>

#include "framework/DeviceContext.h"

namespace korv {

// An off-screen canvas for the part `rect` (control client coordinates) of
// `control`'s drawing context `target`. It starts as the parent's surface
// behind that part (the parent is asked to erase into it), or as what
// `target` holds when there is no parent to ask; Present() copies it to
// `target` in one go, so nothing flickers. Draw into it at Rect(), which
// starts at (0, 0).
class OverParentCanvas {
public:
    OverParentCanvas(HWND control, HDC target, const RECT& rect);

    // False when no canvas could be made: draw straight into the target.
    explicit operator bool() const { return width_ > 0 && height_ > 0 && static_cast<bool>(canvas_); }
    HDC Dc() const { return canvas_.Get(); }
    RECT Rect() const { return RECT{0, 0, width_, height_}; }
    void Present();

private:
    HDC target_;
    RECT rect_;
    int width_;
    int height_;
    fw::MemoryDC canvas_;
};

// Draws through an OverParentCanvas when one can be made, else straight
// into `target` at `rect`: draw(dc, rect) paints the control.
template <class Draw>
void DrawOverParent(HWND control, HDC target, const RECT& rect, Draw draw) {
    OverParentCanvas canvas(control, target, rect);
    if (!canvas) {
        draw(target, rect);
        return;
    }
    draw(canvas.Dc(), canvas.Rect());
    canvas.Present();
}

}  // namespace korv
