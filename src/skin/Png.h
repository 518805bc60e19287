// PNG pictures of the resource library (resource type "PNG"), decoded by
// GDI+. Start-up starts GDI+ before the first window and stops it at exit.
#pragma once

#include <windows.h>

#include <memory>

namespace Gdiplus {
class Image;
}

namespace korv {

struct PngImageDeleter {
    void operator()(Gdiplus::Image* image) const;
};
// Owns the decoded image; the copy of the resource bytes it was decoded
// from goes with it.
using PngImage = std::unique_ptr<Gdiplus::Image, PngImageDeleter>;

// The PNG resource `id` of the current resource module; null when there is
// none or it does not decode.
PngImage LoadPngResource(UINT id);

// Draws PNG `id` stretched to `rect` (aspect ratio not kept), blended over
// what the context holds. False when there is no such picture.
bool DrawPngResource(HDC dc, const RECT& rect, UINT id);

// Draws `image` into a 32-bit premultiplied-alpha DIB section of
// width x height pixels (top-down), as UpdateLayeredWindow wants it. Pixels
// the image does not cover stay fully transparent. Null image: all clear.
HBITMAP RenderToAlphaBitmap(Gdiplus::Image* image, int width, int height);

}  // namespace korv
