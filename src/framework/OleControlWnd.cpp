#include "framework/OleControlWnd.h"

namespace fw {

const wchar_t kOleControlClass[] = L"fw.OleControl";

namespace {

// The site lives in the host window's extra bytes (GWLP_USERDATA stays
// free for whoever subclasses the window).
constexpr int kSiteSlot = 0;

OleControlSite* SiteOfHost(HWND host) {
    wchar_t name[32] = {};
    if (host == nullptr || GetClassNameW(host, name, static_cast<int>(std::size(name))) == 0 ||
        lstrcmpW(name, kOleControlClass) != 0) {
        return nullptr;
    }
    return reinterpret_cast<OleControlSite*>(GetWindowLongPtrW(host, kSiteSlot));
}

bool ClassIdFromText(const wchar_t* text, CLSID& clsid) {
    if (text == nullptr || IS_INTRESOURCE(text) || text[0] == L'\0') {
        return false;
    }
    if (text[0] == L'{') {
        return SUCCEEDED(CLSIDFromString(text, &clsid));
    }
    return SUCCEEDED(CLSIDFromProgID(text, &clsid));  // "Shell.Explorer.2" and the like
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        CLSID clsid;
        if (ClassIdFromText(create->lpszName, clsid)) {
            OleControlSite* site = OleControlSite::Create(hwnd, clsid);
            SetWindowLongPtrW(hwnd, kSiteSlot, reinterpret_cast<LONG_PTR>(site));
        }
        return 0;
    }
    case WM_SIZE:
        if (OleControlSite* site = SiteOfHost(hwnd)) {
            site->Resize(LOWORD(lParam), HIWORD(lParam));
        }
        return 0;
    case WM_SETFOCUS:
        if (OleControlSite* site = SiteOfHost(hwnd)) {
            site->FocusControl();
        }
        return 0;
    case WM_ERASEBKGND:
        // The control covers the whole area; a host without one shows the
        // window colour.
        if (SiteOfHost(hwnd) != nullptr) {
            return TRUE;
        }
        break;
    case WM_DESTROY:
        if (OleControlSite* site = SiteOfHost(hwnd)) {
            SetWindowLongPtrW(hwnd, kSiteSlot, 0);
            site->Close();
            site->Release();
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool EnableControlContainer() {
    // Registered once per process, whichever thread asks first.
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
        wc.lpfnWndProc = HostProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kOleControlClass;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

OleControlSite* COleControlWnd::Site() const { return SiteOfHost(GetSafeHwnd()); }

ComPtr<IUnknown> COleControlWnd::GetControlUnknown() const {
    OleControlSite* site = Site();
    return site != nullptr ? site->Control() : ComPtr<IUnknown>();
}

HRESULT COleControlWnd::InvokeHelper(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result) const {
    ComPtr<IUnknown> control = GetControlUnknown();
    if (!control) {
        return E_NOINTERFACE;
    }
    ComPtr<IDispatch> dispatch;
    HRESULT hr = control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Receive()));
    if (FAILED(hr)) {
        return hr;
    }
    EXCEPINFO exception{};
    UINT argumentError = 0;
    hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, &argumentError);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return hr;
}

HRESULT COleControlWnd::SetProperty(DISPID id, VARIANT value) const {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return InvokeHelper(id, DISPATCH_PROPERTYPUT, params);
}

bool COleControlWnd::SetEventHandler(REFIID events, OleEventHandler handler) {
    OleControlSite* site = Site();
    return site != nullptr && site->Advise(events, std::move(handler));
}

bool COleControlWnd::PreTranslateMessage(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) {
        return false;
    }
    OleControlSite* site = Site();
    return site != nullptr && msg.hwnd != GetSafeHwnd() && IsChild(GetSafeHwnd(), msg.hwnd) &&
           site->TranslateAccelerator(msg);
}

}  // namespace fw
