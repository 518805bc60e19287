// The thin wrappers of CWnd over the usual window calls.
#include "framework/Wnd.h"

namespace fw {

std::wstring CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::wstring CWnd::GetDlgItemText(int id) const {
    HWND item = ::GetDlgItem(hwnd_, id);
    if (item == nullptr) {
        return std::wstring();
    }
    int length = ::GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

RECT CWnd::GetClientRect() const {
    RECT rect{};
    ::GetClientRect(hwnd_, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const {
    RECT rect{};
    ::GetWindowRect(hwnd_, &rect);
    return rect;
}

bool CWnd::MoveWindow(int x, int y, int width, int height, bool repaint) {
    return ::MoveWindow(hwnd_, x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
}

bool CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(hwnd_, insertAfter, x, y, cx, cy, flags) != FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(hwnd_, message, wParam, lParam);
}

bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(hwnd_, message, wParam, lParam) != FALSE;
}

namespace {

bool ModifyLong(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
    auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, index));
    DWORD changed = (style & ~remove) | add;
    if (changed == style) {
        return false;
    }
    SetWindowLongPtrW(hwnd, index, static_cast<LONG_PTR>(changed));
    if (flags != 0) {
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    }
    return true;
}

}  // namespace

bool CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) { return ModifyLong(hwnd_, GWL_STYLE, remove, add, flags); }

bool CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    return ModifyLong(hwnd_, GWL_EXSTYLE, remove, add, flags);
}

HFONT CWnd::GetFont() const { return reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0)); }

void CWnd::SetFont(HFONT font, bool redraw) {
    ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

HICON CWnd::SetIcon(HICON icon, bool big) {
    return reinterpret_cast<HICON>(
        ::SendMessageW(hwnd_, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

void CWnd::CenterWindow(HWND alternate) {
    DWORD style = GetStyle();
    bool child = (style & WS_CHILD) != 0;
    HWND center = alternate;
    if (center == nullptr) {
        center = child ? ::GetParent(hwnd_) : ::GetWindow(hwnd_, GW_OWNER);
    }

    RECT area{};
    RECT target{};
    if (child) {
        // A child is placed in its parent's client coordinates.
        HWND parent = ::GetParent(hwnd_);
        ::GetClientRect(parent, &area);
        if (center != nullptr && center != parent) {
            ::GetWindowRect(center, &target);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&target), 2);
        } else {
            target = area;
        }
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(center != nullptr ? center : hwnd_, MONITOR_DEFAULTTONEAREST), &monitor);
        area = monitor.rcWork;
        // A hidden or minimised owner gives no useful place: use the screen.
        if (center == nullptr || !::IsWindowVisible(center) || ::IsIconic(center)) {
            target = area;
        } else {
            ::GetWindowRect(center, &target);
        }
    }

    RECT self = GetWindowRect();
    int width = self.right - self.left;
    int height = self.bottom - self.top;
    int x = (target.left + target.right) / 2 - width / 2;
    int y = (target.top + target.bottom) / 2 - height / 2;
    if (x + width > area.right) {
        x = area.right - width;
    }
    if (x < area.left) {
        x = area.left;
    }
    if (y + height > area.bottom) {
        y = area.bottom - height;
    }
    if (y < area.top) {
        y = area.top;
    }
    ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace fw
