#include "framework/Controls.h"

namespace fw {

bool CreateControl(CWnd& control, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                   HWND parent, UINT id, DWORD exStyle) {
    return control.CreateEx(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

}  // namespace fw
