// The container side of one OLE control (an ActiveX control such as the
// system's web browser) that lives in a host window: the client site the
// control talks to, in-place activation inside the host's client area, the
// frame it may ask for, and the event connections of its owner.
//
// Used by the host window class of OleControlWnd.cpp; a dialog reaches its
// control through COleControlWnd rather than through this class.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/Com.h"

namespace fw {

class DispatchEventSink;

// An event of a hosted control: its dispatch id and arguments (in the
// reversed order of IDispatch::Invoke, last argument first).
using OleEventHandler = std::function<void(DISPID, DISPPARAMS&)>;

class OleControlSite final : public IOleClientSite,
                             public IOleInPlaceSite,
                             public IOleControlSite,
                             public IDispatch {
public:
    // Creates the control of class `clsid` and activates it in place over
    // the client area of `host`. Null when the control cannot be made (COM
    // not initialised on this thread, class not registered, activation
    // refused): the host then stays an empty window. The caller owns one
    // reference.
    static OleControlSite* Create(HWND host, REFCLSID clsid);

    // Cuts every event connection, deactivates and closes the control and
    // drops it. Called once, when the host window is destroyed; the site
    // object itself lives on until its last reference goes.
    void Close();

    void Resize(int width, int height);
    // Gives the keyboard focus to the control's own window.
    void FocusControl();
    // Offers a keyboard message to the active control first (its own keys:
    // Tab between links, arrows, accelerators of a page). True: taken.
    bool TranslateAccelerator(MSG& msg);

    // The control itself; empty after Close.
    ComPtr<IUnknown> Control() const { return control_; }

    // Connects `handler` to the control's event interface `events` (a
    // dispinterface such as DWebBrowserEvents2) until Close.
    bool Advise(REFIID events, OleEventHandler handler);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD whichMoniker, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow / IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT position) override;

    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override;
    STDMETHODIMP LockInPlaceActive(BOOL lock) override;
    STDMETHODIMP GetExtendedControl(IDispatch** extended) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL gotFocus) override;
    STDMETHODIMP ShowPropertyFrame() override;

    // IDispatch: the ambient properties. None is offered, so the control
    // uses its defaults (user mode, no designer).
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

private:
    class Frame;
    struct Connection {
        ComPtr<IConnectionPoint> point;
        ComPtr<DispatchEventSink> sink;
        DWORD cookie;
    };

    explicit OleControlSite(HWND host);
    ~OleControlSite();
    bool Activate(REFCLSID clsid);
    RECT HostArea() const;

    LONG references_ = 1;
    HWND host_;
    ComPtr<IUnknown> control_;
    ComPtr<IOleObject> oleObject_;
    ComPtr<IOleInPlaceObject> inPlaceObject_;
    ComPtr<IOleInPlaceFrame> frame_;
    std::vector<Connection> connections_;
    bool inPlaceActive_ = false;
};

}  // namespace fw
