#include "framework/Controls.h"

namespace fw {

bool CreateControl(CWnd& control, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                   HWND parent, UINT id, DWORD exStyle) {
    if (!control.CreateEx(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                          rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
        return false;
    }
    // The dialog manager gives every control of a template the dialog's
    // font; one made at run time gets it here, or it would draw its text
    // in the system font beside its template siblings.
    auto font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
    if (font != nullptr && control.GetFont() == nullptr) {
        control.SetFont(font, false);
    }
    return true;
}

}  // namespace fw
