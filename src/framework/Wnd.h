// CWnd: one C++ object per window. The object is found from its handle
// (FromHandlePermanent), the window's messages reach the object's message
// map through one window procedure thunk, and what no handler takes goes to
// the window's previous procedure (its class procedure, or the dialog
// manager for dialogs).
//
// Notifications that a parent receives about a child (WM_COMMAND codes,
// WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*) are first offered to
// the child's own object, if it has one (OnChildNotify and the Reflect
// entries of its map); what it does not take goes on to the parent's map.
#pragma once

#include <windows.h>

#include <string>

#include "framework/MessageMap.h"

namespace fw {

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;

    HWND GetSafeHwnd() const { return hwnd_; }
    operator HWND() const { return hwnd_; }

    // The object of a window, or null when the window has none.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Creates a window owned by this object; its messages reach this object
    // from the very first one (WM_GETMINMAXINFO, WM_NCCREATE). className
    // null: a plain window class of this framework.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menuOrId, void* param = nullptr);
    bool DestroyWindow();

    // Binds this object to an existing window: Attach maps it only (messages
    // are not routed here, reflected notifications are); SubclassWindow also
    // routes the window's messages through this object's map.
    bool Attach(HWND hwnd);
    HWND Detach();
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(UINT id, HWND parent);

    // Called by CreateEx before the window exists: a last look at its styles.
    virtual bool PreCreateWindow(CREATESTRUCTW& cs);
    // Called once this object has taken its window over: after SubclassWindow
    // bound an existing one (a control of a template) and after CreateEx made
    // a new one (a control made at run time), so that a control class sets
    // itself up once, the same way, however its window came to be (controls
    // turn themselves owner-drawn and load their pictures here).
    virtual void PreSubclassWindow() {}
    // Called after the last message (WM_NCDESTROY), with the object already
    // detached. A window object that deletes itself does it here.
    virtual void PostNcDestroy() {}

    // Every message of a loop of this framework is shown here first, for
    // this window and its child windows (innermost first); true swallows it.
    // Return false for what is not yours: the loop's IsDialogMessage and
    // dispatch come after, not from this base.
    virtual bool PreTranslateMessage(MSG& msg);

    // True for CDialog objects: the message loops run IsDialogMessage for them.
    virtual bool IsDialogWindow() const { return false; }

    // Sends a notification about this control back into its own class;
    // the parent's window procedure calls it. True: handled, result set.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    const MessageMap& GetMessageMap() const override;

    // Thin wrappers of the usual window calls.
    HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd_, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(hwnd_); }
    HWND GetParent() const { return ::GetParent(hwnd_); }
    HWND GetOwner() const { return ::GetWindow(hwnd_, GW_OWNER); }
    bool ShowWindow(int command) { return ::ShowWindow(hwnd_, command) != FALSE; }
    bool EnableWindow(bool enable) { return ::EnableWindow(hwnd_, enable ? TRUE : FALSE) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
    HWND SetFocus() { return ::SetFocus(hwnd_); }
    std::wstring GetWindowText() const;
    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(hwnd_, text); }
    std::wstring GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const wchar_t* text) { ::SetDlgItemTextW(hwnd_, id, text); }
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true);
    bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    void Invalidate(bool erase = true) { ::InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE); }
    void InvalidateRect(const RECT* rect, bool erase = true) { ::InvalidateRect(hwnd_, rect, erase ? TRUE : FALSE); }
    void UpdateWindow() { ::UpdateWindow(hwnd_); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    DWORD GetStyle() const { return static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)); }
    // Removes, then adds style bits; flags non-zero: SetWindowPos with them
    // (plus no move, size, z-order change or activation) so the frame follows.
    bool ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    bool ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(hwnd_, id, elapse, nullptr); }
    bool KillTimer(UINT_PTR id) { return ::KillTimer(hwnd_, id) != FALSE; }
    HFONT GetFont() const;
    void SetFont(HFONT font, bool redraw = true);
    HICON SetIcon(HICON icon, bool big);
    // Centres on `alternate`, else on the owner (parent for a child), else
    // on the work area when that window is hidden or minimised; the result
    // is kept inside the work area.
    void CenterWindow(HWND alternate = nullptr);

protected:
    // The default processing of the message being handled now (the one
    // whose handler is running): the previous window procedure's answer.
    LRESULT Default();
    // The previous window procedure with an arbitrary message.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The whole handling of one message: map, then default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The map lookup of one message; true when something handled it.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // WM_COMMAND and WM_NOTIFY after reflection; overridable like the
    // framework's own.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT& result);

    // The creation hook: the next window created on this thread is bound to
    // `wnd` before its first message. Used by CreateEx and dialog creation.
    class CreationHook {
    public:
        explicit CreationHook(CWnd& wnd);
        ~CreationHook();
        CreationHook(const CreationHook&) = delete;
        CreationHook& operator=(const CreationHook&) = delete;

    private:
        HHOOK hook_;
        CWnd* previous_;
    };

    bool ownsWindow_ = false;  // created by this object: destroyed with it

private:
    static LRESULT CALLBACK WindowProcThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void BindNewWindow(HWND hwnd);
    bool ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnFinalMessage();

    HWND hwnd_ = nullptr;
    WNDPROC previousProc_ = nullptr;  // set while this object routes the window's messages
};

}  // namespace fw
