#include "skin/Png.h"

#include <objidl.h>

#include <cstring>

#include "framework/ResourceModule.h"
#include "skin/GdiPlus.h"

namespace korv {

void PngImageDeleter::operator()(Gdiplus::Image* image) const {
    delete image;
}

PngImage LoadPngResource(UINT id) {
    HMODULE module = fw::GetResourceModule();
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
    if (info == nullptr) {
        return nullptr;
    }
    HGLOBAL loaded = LoadResource(module, info);
    DWORD size = SizeofResource(module, info);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) {
        return nullptr;
    }
    // GDI+ may read the stream lazily, long after this call: it gets a copy
    // in memory of its own, freed when the last reference to the stream goes
    // (the image holds one).
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) {
        return nullptr;
    }
    void* target = GlobalLock(copy);
    if (target == nullptr) {
        GlobalFree(copy);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return nullptr;
    }
    PngImage image(Gdiplus::Image::FromStream(stream));
    stream->Release();
    if (image && image->GetLastStatus() != Gdiplus::Ok) {
        image.reset();
    }
    return image;
}

bool DrawPngResource(HDC dc, const RECT& rect, UINT id) {
    PngImage image = LoadPngResource(id);
    if (!image) {
        return false;
    }
    Gdiplus::Graphics graphics(dc);
    graphics.DrawImage(image.get(), static_cast<INT>(rect.left), static_cast<INT>(rect.top),
                       static_cast<INT>(rect.right - rect.left), static_cast<INT>(rect.bottom - rect.top));
    return true;
}

HBITMAP RenderToAlphaBitmap(Gdiplus::Image* image, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width > 0 ? width : 1;
    info.bmiHeader.biHeight = -(height > 0 ? height : 1);  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        return nullptr;
    }
    std::memset(bits, 0, static_cast<size_t>(info.bmiHeader.biWidth) * -info.bmiHeader.biHeight * 4);
    if (image != nullptr && width > 0 && height > 0) {
        // Drawing through a GDI+ bitmap over the DIB's own memory keeps the
        // alpha channel; a Graphics on an HDC would drop it.
        Gdiplus::Bitmap target(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
        Gdiplus::Graphics graphics(&target);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics.DrawImage(image, 0, 0, width, height);
    }
    GdiFlush();
    return bitmap;
}

}  // namespace korv
