// The product's resource library (beside the test program) as the current
// resource module, and GDI+ running, for tests of the skinned windows.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Framework.h"
#include "skin/GdiPlus.h"

namespace korv::test {

class SkinEnvironment {
public:
    SkinEnvironment() {
        // Setup.exe declares itself DPI aware in its manifest; the tests
        // run the same way, so a prefix set to 120 dpi really scales them.
        SetProcessDPIAware();
        wchar_t path[MAX_PATH];
        DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring folder(path, length);
        folder = folder.substr(0, folder.find_last_of(L'\\') + 1);
        library_.Reset(LoadLibraryExW((folder + L"IntallerRes.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        previous_ = fw::SetResourceModule(library_.Get());
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~SkinEnvironment() {
        Gdiplus::GdiplusShutdown(token_);
        fw::SetResourceModule(previous_);
    }
    SkinEnvironment(const SkinEnvironment&) = delete;
    SkinEnvironment& operator=(const SkinEnvironment&) = delete;

    bool Loaded() const { return static_cast<bool>(library_); }

private:
    fw::UniqueModule library_;
    HMODULE previous_ = nullptr;
    ULONG_PTR token_ = 0;
};

// A 32-bit top-down DIB section selected into a memory context, filled
// with one colour; pixels read back as COLORREF.
class PixelCanvas {
public:
    PixelCanvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, bitmap_.Get());
        fw::UniqueBrush brush(CreateSolidBrush(fill));
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, brush.Get());
    }
    ~PixelCanvas() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC Dc() const { return dc_; }
    RECT Rect() const { return RECT{0, 0, width_, height_}; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int width_;
    int height_;
    DWORD* bits_ = nullptr;
    fw::UniqueBitmap bitmap_;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// Copies what `window` shows in its client area (its own surface, whatever
// lies above it) into a canvas.
inline void CaptureClient(HWND window, PixelCanvas& canvas) {
    RECT r = canvas.Rect();
    HDC dc = GetDC(window);
    BitBlt(canvas.Dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
}

// Runs what is queued for this thread's windows and paints what waits for
// painting, so that the screen shows the state the test has set up.
inline void PumpAndPaint(HWND top) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

inline std::string Hex(COLORREF c) {
    char text[24];
    snprintf(text, sizeof(text), "RGB(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

}  // namespace korv::test
