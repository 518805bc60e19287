// The message-map entry builders (fw::on): each takes a member function
// with typed arguments and makes the entry that unpacks wParam and lParam
// for it. Included by MessageMap.h.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/MessageMap.h"

namespace fw {

// The entry builders. T is deduced from the member function.
namespace on {

namespace detail {
template <class T>
T& As(CCmdTarget& target) {
    return static_cast<T&>(target);
}
inline POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
inline MessageEntry Of(EntryKind kind, UINT code, UINT first, UINT last, MessageHandler handler) {
    return MessageEntry{kind, code, first, last, std::move(handler)};
}
}  // namespace detail

// Any window message, raw: LRESULT OnX(WPARAM, LPARAM).
template <class T>
MessageEntry Message(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return detail::Of(EntryKind::Message, 0, message, message, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        r = (detail::As<T>(t).*fn)(a.wParam, a.lParam);
        return true;
    });
}

// Button clicks, menu items and accelerators: void OnX().
template <class T>
MessageEntry Command(UINT id, void (T::*fn)()) {
    return detail::Of(EntryKind::Command, 0, id, id, [fn](CCmdTarget& t, const MessageArgs&, LRESULT& r) {
        (detail::As<T>(t).*fn)();
        r = 0;
        return true;
    });
}

// The same for a range of ids: void OnX(UINT id).
template <class T>
MessageEntry CommandRange(UINT firstId, UINT lastId, void (T::*fn)(UINT)) {
    return detail::Of(EntryKind::Command, 0, firstId, lastId, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        (detail::As<T>(t).*fn)(LOWORD(a.wParam));
        r = 0;
        return true;
    });
}

// A control's WM_COMMAND notification (EN_CHANGE, BN_DOUBLECLICKED, ...): void OnX().
template <class T>
MessageEntry Control(UINT code, UINT id, void (T::*fn)()) {
    return detail::Of(EntryKind::Control, code, id, id, [fn](CCmdTarget& t, const MessageArgs&, LRESULT& r) {
        (detail::As<T>(t).*fn)();
        r = 0;
        return true;
    });
}

template <class T>
MessageEntry ControlRange(UINT code, UINT firstId, UINT lastId, void (T::*fn)(UINT)) {
    return detail::Of(EntryKind::Control, code, firstId, lastId,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          (detail::As<T>(t).*fn)(LOWORD(a.wParam));
                          r = 0;
                          return true;
                      });
}

template <class T>
MessageEntry BnClicked(UINT id, void (T::*fn)()) {
    return Control(BN_CLICKED, id, fn);
}

// A control's WM_NOTIFY: void OnX(NMHDR*, LRESULT* result).
template <class T>
MessageEntry Notify(UINT code, UINT id, void (T::*fn)(NMHDR*, LRESULT*)) {
    return detail::Of(EntryKind::Notify, code, id, id, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        r = 0;
        (detail::As<T>(t).*fn)(reinterpret_cast<NMHDR*>(a.lParam), &r);
        return true;
    });
}

template <class T>
MessageEntry NotifyRange(UINT code, UINT firstId, UINT lastId, void (T::*fn)(UINT, NMHDR*, LRESULT*)) {
    return detail::Of(EntryKind::Notify, code, firstId, lastId,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          auto* header = reinterpret_cast<NMHDR*>(a.lParam);
                          r = 0;
                          (detail::As<T>(t).*fn)(static_cast<UINT>(header->idFrom), header, &r);
                          return true;
                      });
}

// Reflected notifications, in the control's own class. The void form keeps
// the notification from the parent; the bool form lets the parent's map see
// it as well when it returns false. They run inside the parent's message:
// Default() of the control does not apply to them.
template <class T>
MessageEntry ControlReflect(UINT code, void (T::*fn)()) {
    return detail::Of(EntryKind::ReflectCommand, code, 0, 0, [fn](CCmdTarget& t, const MessageArgs&, LRESULT& r) {
        (detail::As<T>(t).*fn)();
        r = 0;
        return true;
    });
}

template <class T>
MessageEntry ControlReflect(UINT code, bool (T::*fn)()) {
    return detail::Of(EntryKind::ReflectCommand, code, 0, 0, [fn](CCmdTarget& t, const MessageArgs&, LRESULT& r) {
        r = 0;
        return (detail::As<T>(t).*fn)();
    });
}

template <class T>
MessageEntry NotifyReflect(UINT code, void (T::*fn)(NMHDR*, LRESULT*)) {
    return detail::Of(EntryKind::ReflectNotify, code, 0, 0, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        r = 0;
        (detail::As<T>(t).*fn)(reinterpret_cast<NMHDR*>(a.lParam), &r);
        return true;
    });
}

template <class T>
MessageEntry NotifyReflect(UINT code, bool (T::*fn)(NMHDR*, LRESULT*)) {
    return detail::Of(EntryKind::ReflectNotify, code, 0, 0, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        r = 0;
        return (detail::As<T>(t).*fn)(reinterpret_cast<NMHDR*>(a.lParam), &r);
    });
}

// The control-colour request about this control: HBRUSH CtlColor(HDC, UINT
// ctlType). A null brush declines (the parent answers).
template <class T>
MessageEntry CtlColorReflect(HBRUSH (T::*fn)(HDC, UINT)) {
    return detail::Of(EntryKind::ReflectMessage, 0, WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          HBRUSH brush = (detail::As<T>(t).*fn)(reinterpret_cast<HDC>(a.wParam),
                                                                a.message - WM_CTLCOLORMSGBOX);
                          r = reinterpret_cast<LRESULT>(brush);
                          return brush != nullptr;
                      });
}

// WM_DRAWITEM / WM_MEASUREITEM or another parent message about this control, raw.
template <class T>
MessageEntry MessageReflect(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return detail::Of(EntryKind::ReflectMessage, 0, message, message,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          r = (detail::As<T>(t).*fn)(a.wParam, a.lParam);
                          return true;
                      });
}

// A thread message to a CWinThread: void OnX(WPARAM, LPARAM).
template <class T>
MessageEntry ThreadMessage(UINT message, void (T::*fn)(WPARAM, LPARAM)) {
    return detail::Of(EntryKind::ThreadMessage, 0, message, message,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          (detail::As<T>(t).*fn)(a.wParam, a.lParam);
                          r = 0;
                          return true;
                      });
}

// Typed window messages.

template <class T>
MessageEntry Paint(void (T::*fn)()) {
    return detail::Of(EntryKind::Message, 0, WM_PAINT, WM_PAINT, [fn](CCmdTarget& t, const MessageArgs&, LRESULT& r) {
        (detail::As<T>(t).*fn)();
        r = 0;
        return true;
    });
}

// bool OnEraseBkgnd(HDC): true when the background counts as erased.
template <class T>
MessageEntry EraseBkgnd(bool (T::*fn)(HDC)) {
    return detail::Of(EntryKind::Message, 0, WM_ERASEBKGND, WM_ERASEBKGND,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          r = (detail::As<T>(t).*fn)(reinterpret_cast<HDC>(a.wParam)) ? TRUE : FALSE;
                          return true;
                      });
}

template <class T>
MessageEntry Timer(void (T::*fn)(UINT_PTR)) {
    return detail::Of(EntryKind::Message, 0, WM_TIMER, WM_TIMER, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        (detail::As<T>(t).*fn)(a.wParam);
        r = 0;
        return true;
    });
}

// void OnSize(UINT type, int cx, int cy)
template <class T>
MessageEntry Size(void (T::*fn)(UINT, int, int)) {
    return detail::Of(EntryKind::Message, 0, WM_SIZE, WM_SIZE, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        (detail::As<T>(t).*fn)(static_cast<UINT>(a.wParam), LOWORD(a.lParam), HIWORD(a.lParam));
        r = 0;
        return true;
    });
}

// void OnMove(int x, int y): the new client origin (screen coordinates for
// top-level windows).
template <class T>
MessageEntry Move(void (T::*fn)(int, int)) {
    return detail::Of(EntryKind::Message, 0, WM_MOVE, WM_MOVE, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        POINT p = detail::PointOf(a.lParam);
        (detail::As<T>(t).*fn)(p.x, p.y);
        r = 0;
        return true;
    });
}

// LRESULT OnNcHitTest(POINT screenPoint)
template <class T>
MessageEntry NcHitTest(LRESULT (T::*fn)(POINT)) {
    return detail::Of(EntryKind::Message, 0, WM_NCHITTEST, WM_NCHITTEST,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          r = (detail::As<T>(t).*fn)(detail::PointOf(a.lParam));
                          return true;
                      });
}

// HBRUSH OnCtlColor(HDC, HWND control, UINT ctlType), for every WM_CTLCOLOR*
// message the window receives (ctlType: CTLCOLOR_DLG, CTLCOLOR_STATIC, ...).
template <class T>
MessageEntry CtlColor(HBRUSH (T::*fn)(HDC, HWND, UINT)) {
    return detail::Of(EntryKind::Message, 0, WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          r = reinterpret_cast<LRESULT>((detail::As<T>(t).*fn)(reinterpret_cast<HDC>(a.wParam),
                                                                               reinterpret_cast<HWND>(a.lParam),
                                                                               a.message - WM_CTLCOLORMSGBOX));
                          return true;
                      });
}

// int OnCreate(CREATESTRUCTW*): -1 refuses the creation.
template <class T>
MessageEntry Create(int (T::*fn)(CREATESTRUCTW*)) {
    return detail::Of(EntryKind::Message, 0, WM_CREATE, WM_CREATE, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        r = (detail::As<T>(t).*fn)(reinterpret_cast<CREATESTRUCTW*>(a.lParam));
        return true;
    });
}

template <class T>
MessageEntry Destroy(void (T::*fn)()) {
    return detail::Of(EntryKind::Message, 0, WM_DESTROY, WM_DESTROY, [fn](CCmdTarget& t, const MessageArgs&, LRESULT& r) {
        (detail::As<T>(t).*fn)();
        r = 0;
        return true;
    });
}

template <class T>
MessageEntry Close(void (T::*fn)()) {
    return detail::Of(EntryKind::Message, 0, WM_CLOSE, WM_CLOSE, [fn](CCmdTarget& t, const MessageArgs&, LRESULT& r) {
        (detail::As<T>(t).*fn)();
        r = 0;
        return true;
    });
}

// Mouse messages: void OnX(UINT keyFlags, POINT clientPoint).
template <class T>
MessageEntry MouseMessage(UINT message, void (T::*fn)(UINT, POINT)) {
    return detail::Of(EntryKind::Message, 0, message, message, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        (detail::As<T>(t).*fn)(static_cast<UINT>(a.wParam), detail::PointOf(a.lParam));
        r = 0;
        return true;
    });
}
template <class T>
MessageEntry MouseMove(void (T::*fn)(UINT, POINT)) {
    return MouseMessage(WM_MOUSEMOVE, fn);
}
template <class T>
MessageEntry LButtonDown(void (T::*fn)(UINT, POINT)) {
    return MouseMessage(WM_LBUTTONDOWN, fn);
}
template <class T>
MessageEntry LButtonUp(void (T::*fn)(UINT, POINT)) {
    return MouseMessage(WM_LBUTTONUP, fn);
}

template <class T>
MessageEntry MouseLeave(void (T::*fn)()) {
    return detail::Of(EntryKind::Message, 0, WM_MOUSELEAVE, WM_MOUSELEAVE,
                      [fn](CCmdTarget& t, const MessageArgs&, LRESULT& r) {
                          (detail::As<T>(t).*fn)();
                          r = 0;
                          return true;
                      });
}

// bool OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage): true when
// the cursor was set. False declines, so the default procedure sets it.
template <class T>
MessageEntry SetCursor(bool (T::*fn)(HWND, UINT, UINT)) {
    return detail::Of(EntryKind::Message, 0, WM_SETCURSOR, WM_SETCURSOR,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          r = TRUE;
                          return (detail::As<T>(t).*fn)(reinterpret_cast<HWND>(a.wParam), LOWORD(a.lParam),
                                                        HIWORD(a.lParam));
                      });
}

// void OnSysCommand(UINT command, LPARAM): command as given (mask with 0xFFF0
// to compare with SC_*).
template <class T>
MessageEntry SysCommand(void (T::*fn)(UINT, LPARAM)) {
    return detail::Of(EntryKind::Message, 0, WM_SYSCOMMAND, WM_SYSCOMMAND,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          (detail::As<T>(t).*fn)(static_cast<UINT>(a.wParam), a.lParam);
                          r = 0;
                          return true;
                      });
}

template <class T>
MessageEntry GetMinMaxInfo(void (T::*fn)(MINMAXINFO*)) {
    return detail::Of(EntryKind::Message, 0, WM_GETMINMAXINFO, WM_GETMINMAXINFO,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          (detail::As<T>(t).*fn)(reinterpret_cast<MINMAXINFO*>(a.lParam));
                          r = 0;
                          return true;
                      });
}

template <class T>
MessageEntry QueryDragIcon(HCURSOR (T::*fn)()) {
    return detail::Of(EntryKind::Message, 0, WM_QUERYDRAGICON, WM_QUERYDRAGICON,
                      [fn](CCmdTarget& t, const MessageArgs&, LRESULT& r) {
                          r = reinterpret_cast<LRESULT>((detail::As<T>(t).*fn)());
                          return true;
                      });
}

// bool OnHelpInfo(HELPINFO*): true when handled (F1 help).
template <class T>
MessageEntry HelpInfo(bool (T::*fn)(HELPINFO*)) {
    return detail::Of(EntryKind::Message, 0, WM_HELP, WM_HELP, [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
        r = (detail::As<T>(t).*fn)(reinterpret_cast<HELPINFO*>(a.lParam)) ? TRUE : FALSE;
        return true;
    });
}

// void OnShowWindow(bool show, UINT status)
template <class T>
MessageEntry ShowWindow(void (T::*fn)(bool, UINT)) {
    return detail::Of(EntryKind::Message, 0, WM_SHOWWINDOW, WM_SHOWWINDOW,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          (detail::As<T>(t).*fn)(a.wParam != 0, static_cast<UINT>(a.lParam));
                          r = 0;
                          return true;
                      });
}

// The parent's WM_DRAWITEM for controls whose class did not draw them:
// void OnDrawItem(int controlId, DRAWITEMSTRUCT*).
template <class T>
MessageEntry DrawItem(void (T::*fn)(int, DRAWITEMSTRUCT*)) {
    return detail::Of(EntryKind::Message, 0, WM_DRAWITEM, WM_DRAWITEM,
                      [fn](CCmdTarget& t, const MessageArgs& a, LRESULT& r) {
                          (detail::As<T>(t).*fn)(static_cast<int>(a.wParam),
                                                 reinterpret_cast<DRAWITEMSTRUCT*>(a.lParam));
                          r = TRUE;
                          return true;
                      });
}

}  // namespace on

}  // namespace fw
