// Thin classes for the standard controls. Bind them to template controls
// with DDX_Control (or SubclassDlgItem), or make them with Create.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Wnd.h"

namespace fw {

// CreateEx for a child control of a system class; id is the control id.
// The control takes its parent's font, as template controls do.
bool CreateControl(CWnd& control, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                   HWND parent, UINT id, DWORD exStyle = 0);

class CButton : public CWnd {
public:
    bool Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateControl(*this, WC_BUTTONW, text, style | WS_CHILD, rect, parent, id);
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(bool highlight) { SendMessage(BM_SETSTATE, highlight ? TRUE : FALSE); }
    // The BS_TYPEMASK part of the style (BS_PUSHBUTTON, BS_OWNERDRAW, ...).
    UINT GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }
    void SetButtonStyle(UINT style, bool redraw = true) {
        SendMessage(BM_SETSTYLE, style, redraw ? TRUE : FALSE);
    }
    HICON SetIcon(HICON icon) {
        return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
    }
    HBITMAP SetBitmap(HBITMAP bitmap) {
        return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
};

class CStatic : public CWnd {
public:
    bool Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, UINT id = 0xFFFF) {
        return CreateControl(*this, WC_STATICW, text, style | WS_CHILD, rect, parent, id);
    }
    HICON SetIcon(HICON icon) {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
    HBITMAP SetBitmap(HBITMAP bitmap) {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
};

class CEdit : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateControl(*this, WC_EDITW, L"", style | WS_CHILD, rect, parent, id, WS_EX_CLIENTEDGE);
    }
    void SetSel(int start, int end, bool noScroll = false) {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
        if (!noScroll) {
            SendMessage(EM_SCROLLCARET);
        }
    }
    void GetSel(int& start, int& end) const {
        DWORD first = 0;
        DWORD last = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
        start = static_cast<int>(first);
        end = static_cast<int>(last);
    }
    void ReplaceSel(const wchar_t* text, bool canUndo = false) {
        SendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text));
    }
    void LimitText(int chars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
    bool SetReadOnly(bool readOnly = true) { return SendMessage(EM_SETREADONLY, readOnly ? TRUE : FALSE) != 0; }
};

class CProgressCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateControl(*this, PROGRESS_CLASSW, L"", style | WS_CHILD, rect, parent, id);
    }
    // The 16-bit form of the range, as the control's first interface has it.
    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    void GetRange(int& lower, int& upper) const {
        PBRANGE range{};
        SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        lower = range.iLow;
        upper = range.iHigh;
    }
    // Both return the previous position.
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
    int OffsetPos(int delta) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(delta))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
    COLORREF SetBarColor(COLORREF color) { return static_cast<COLORREF>(SendMessage(PBM_SETBARCOLOR, 0, color)); }
    COLORREF SetBkColor(COLORREF color) { return static_cast<COLORREF>(SendMessage(PBM_SETBKCOLOR, 0, color)); }
};

}  // namespace fw
