#include "framework/Wnd.h"

#include <exception>
#include <mutex>
#include <string>
#include <unordered_map>

#include "framework/SlimLock.h"
#include "framework/WinThread.h"

namespace fw {

namespace {

// Handle to object. Windows of several threads live in it (tip dialogs open
// on the worker), so it is locked; lookups are short.
fw::SlimLock g_mapLock;
std::unordered_map<HWND, CWnd*> g_windows;

// The object that the window being created on this thread belongs to.
thread_local CWnd* t_creating = nullptr;

// The messages being handled on this thread, innermost first, for Default().
// They live on the stack, not in the objects: a handler may destroy its
// window and with it an object that deletes itself.
struct MessageFrame {
    const CWnd* wnd;
    MessageArgs args;
    MessageFrame* outer;
};
thread_local MessageFrame* t_frames = nullptr;

const wchar_t kDefaultClass[] = L"fw.Window";

const wchar_t* DefaultClassName() {
    // Registered once per process, whichever thread asks first.
    static const ATOM registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kDefaultClass;
        return RegisterClassExW(&wc);
    }();
    static_cast<void>(registered);
    return kDefaultClass;
}

void MapWindow(HWND hwnd, CWnd* wnd) {
    std::lock_guard<fw::SlimLock> lock(g_mapLock);
    g_windows[hwnd] = wnd;
}

void UnmapWindow(HWND hwnd, CWnd* wnd) {
    std::lock_guard<fw::SlimLock> lock(g_mapLock);
    auto it = g_windows.find(hwnd);
    if (it != g_windows.end() && it->second == wnd) {
        g_windows.erase(it);
    }
}

// The input method windows that user32 makes on a thread's first top-level
// window are not ours to bind, even while a creation is pending.
bool IsImeWindow(HWND hwnd) {
    if ((GetClassLongPtrW(hwnd, GCL_STYLE) & CS_IME) != 0) {
        return true;
    }
    wchar_t name[16];
    return GetClassNameW(hwnd, name, static_cast<int>(std::size(name))) > 0 && lstrcmpiW(name, L"IME") == 0;
}

void ReportHandlerFailure(const char* what) {
    // A throwing handler must not unwind through user32; the message is
    // answered with 0 and the failure is left for a debugger to see.
    std::string text = "fw: exception in a message handler: ";
    text += what;
    text += "\n";
    OutputDebugStringA(text.c_str());
}

}  // namespace

CWnd::~CWnd() {
    if (hwnd_ != nullptr && ownsWindow_ && ::IsWindow(hwnd_)) {
        DestroyWindow();
    }
    // Still bound: a window that was only borrowed, or one of another thread
    // (which this thread cannot destroy). Either way no message may find
    // this object any more.
    if (hwnd_ != nullptr) {
        Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    std::lock_guard<fw::SlimLock> lock(g_mapLock);
    auto it = g_windows.find(hwnd);
    return it != g_windows.end() ? it->second : nullptr;
}

bool CWnd::PreCreateWindow(CREATESTRUCTW&) { return true; }

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId, void* param) {
    if (hwnd_ != nullptr) {
        return false;
    }
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className != nullptr ? className : DefaultClassName();
    cs.lpszName = title;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = GetModuleHandleW(nullptr);
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        return false;
    }
    HWND created;
    {
        CreationHook hook(*this);
        created = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    if (created == nullptr) {
        // A refused creation has already run WM_NCDESTROY, which unbound us;
        // a window class that failed before any message leaves us bound.
        if (hwnd_ != nullptr) {
            UnmapWindow(hwnd_, this);
            hwnd_ = nullptr;
            previousProc_ = nullptr;
        }
        return false;
    }
    ownsWindow_ = true;
    PreSubclassWindow();
    return true;
}

bool CWnd::DestroyWindow() {
    HWND hwnd = hwnd_;
    if (hwnd == nullptr) {
        return false;
    }
    bool destroyed = ::DestroyWindow(hwnd) != FALSE;
    // A routed window has unbound itself in WM_NCDESTROY (and its object may
    // be gone); one that was only attached is unbound here.
    if (FromHandlePermanent(hwnd) == this) {
        if (destroyed || !::IsWindow(hwnd)) {
            Detach();
        }
    }
    return destroyed;
}

bool CWnd::Attach(HWND hwnd) {
    if (hwnd_ != nullptr || !::IsWindow(hwnd) || FromHandlePermanent(hwnd) != nullptr) {
        return false;
    }
    hwnd_ = hwnd;
    MapWindow(hwnd, this);
    return true;
}

HWND CWnd::Detach() {
    HWND hwnd = hwnd_;
    if (hwnd == nullptr) {
        return nullptr;
    }
    if (previousProc_ != nullptr &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == &CWnd::WindowProcThunk) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    }
    UnmapWindow(hwnd, this);
    hwnd_ = nullptr;
    previousProc_ = nullptr;
    ownsWindow_ = false;
    return hwnd;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd)) {
        return false;
    }
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WindowProcThunk)));
    if (previousProc_ == nullptr) {
        // A window of another process, or one that vanished meanwhile.
        UnmapWindow(hwnd, this);
        hwnd_ = nullptr;
        return false;
    }
    PreSubclassWindow();
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, HWND parent) {
    HWND control = ::GetDlgItem(parent, static_cast<int>(id));
    return control != nullptr && SubclassWindow(control);
}

void CWnd::BindNewWindow(HWND hwnd) {
    hwnd_ = hwnd;
    MapWindow(hwnd, this);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WindowProcThunk)));
}

CWnd::CreationHook::CreationHook(CWnd& wnd) : previous_(t_creating) {
    t_creating = &wnd;
    hook_ = SetWindowsHookExW(WH_CBT, &CWnd::CbtHook, nullptr, GetCurrentThreadId());
}

CWnd::CreationHook::~CreationHook() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
    }
    t_creating = previous_;
}

LRESULT CALLBACK CWnd::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creating != nullptr) {
        auto hwnd = reinterpret_cast<HWND>(wParam);
        if (!IsImeWindow(hwnd)) {
            // Only the first window belongs to the pending object: the
            // controls of a dialog template are created after it.
            CWnd* wnd = t_creating;
            t_creating = nullptr;
            wnd->BindNewWindow(hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CWnd::WindowProcThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (wnd == nullptr) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return wnd->HandleMessage(message, wParam, lParam);
}

LRESULT CWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    MessageFrame frame{this, MessageArgs{message, wParam, lParam}, t_frames};
    t_frames = &frame;
    LRESULT result = 0;
    try {
        result = WindowProc(message, wParam, lParam);
    } catch (const std::exception& e) {
        ReportHandlerFailure(e.what());
    } catch (...) {
        ReportHandlerFailure("unknown exception");
    }
    t_frames = frame.outer;
    // Until WM_NCDESTROY the window keeps its object alive; after any other
    // message `this` may be gone already and is not touched.
    if (message == WM_NCDESTROY) {
        OnFinalMessage();  // may delete this
    }
    return result;
}

void CWnd::OnFinalMessage() {
    Detach();
    // The main window of a thread ends its message loop when it goes, the
    // way an application ends when its main window closes. Outside the loop
    // (start-up, shutdown) there is nothing to end, and a quit request left
    // in the queue would end the next modal dialog instead.
    CWinThread* thread = AfxGetThread();
    if (thread != nullptr && thread->GetMainWnd() == this) {
        thread->SetMainWnd(nullptr);
        if (thread->IsInMessageLoop()) {
            PostQuitMessage(0);
        }
    }
    PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousProc_ != nullptr) {
        return CallWindowProcW(previousProc_, hwnd_, message, wParam, lParam);
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    for (const MessageFrame* frame = t_frames; frame != nullptr; frame = frame->outer) {
        if (frame->wnd == this) {
            return DefWindowProc(frame->args.message, frame->args.wParam, frame->args.lParam);
        }
    }
    return 0;  // called outside a handler of this window: nothing to default
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND: {
        auto control = reinterpret_cast<HWND>(lParam);
        if (control != nullptr && ReflectToChild(control, message, wParam, lParam, result)) {
            return true;
        }
        if (OnCommand(wParam, lParam, result)) {
            return true;
        }
        break;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && ReflectToChild(header->hwndFrom, message, wParam, lParam, result)) {
            return true;
        }
        if (OnNotify(wParam, lParam, result)) {
            return true;
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU && ReflectToChild(item->hwndItem, message, wParam, lParam, result)) {
            return true;
        }
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU &&
            ReflectToChild(::GetDlgItem(hwnd_, static_cast<int>(item->CtlID)), message, wParam, lParam, result)) {
            return true;
        }
        break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result)) {
            return true;
        }
        break;
    default:
        break;
    }
    return DispatchToMap(EntryKind::Message, 0, message, MessageArgs{message, wParam, lParam}, result);
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return DispatchToMap(EntryKind::Control, HIWORD(wParam), LOWORD(wParam), MessageArgs{WM_COMMAND, wParam, lParam},
                         result);
}

bool CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    return DispatchToMap(EntryKind::Notify, header->code, static_cast<UINT>(header->idFrom),
                         MessageArgs{WM_NOTIFY, wParam, lParam}, result);
}

bool CWnd::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (child == nullptr || child == hwnd_) {
        return false;
    }
    CWnd* wnd = FromHandlePermanent(child);
    if (wnd == nullptr) {
        return false;
    }
    LRESULT childResult = 0;
    if (!wnd->OnChildNotify(message, wParam, lParam, &childResult)) {
        return false;
    }
    result = childResult;
    return true;
}

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    MessageArgs args{message, wParam, lParam};
    switch (message) {
    case WM_COMMAND:
        return DispatchToMap(EntryKind::ReflectCommand, HIWORD(wParam), 0, args, *result);
    case WM_NOTIFY:
        return DispatchToMap(EntryKind::ReflectNotify, reinterpret_cast<NMHDR*>(lParam)->code, 0, args, *result);
    default:
        return DispatchToMap(EntryKind::ReflectMessage, 0, message, args, *result);
    }
}

bool CWnd::PreTranslateMessage(MSG&) { return false; }

const MessageMap& CWnd::GetMessageMap() const { return CCmdTarget::GetMessageMap(); }

}  // namespace fw
