#include "framework/OleControlSite.h"

#include "framework/DispatchEventSink.h"

namespace fw {

// The frame a control may ask for during in-place activation: the host's
// top-level window. A dialog has no menus, toolbars or status bar to
// share, so it refuses border space and ignores menus and status texts.
class OleControlSite::Frame final : public IOleInPlaceFrame {
public:
    explicit Frame(HWND host) : host_(host) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleWindow) ||
            IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
            *object = static_cast<IOleInPlaceFrame*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    STDMETHODIMP GetWindow(HWND* window) override {
        if (window == nullptr) {
            return E_POINTER;
        }
        *window = GetAncestor(host_, GA_ROOT);
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~Frame() = default;
    LONG references_ = 1;
    HWND host_;
};

OleControlSite::OleControlSite(HWND host) : host_(host) {
    frame_.Attach(new Frame(host));
}

OleControlSite::~OleControlSite() = default;

OleControlSite* OleControlSite::Create(HWND host, REFCLSID clsid) {
    auto* site = new OleControlSite(host);
    if (!site->Activate(clsid)) {
        site->Close();
        site->Release();
        return nullptr;
    }
    return site;
}

RECT OleControlSite::HostArea() const {
    RECT area{};
    ::GetClientRect(host_, &area);
    return area;
}

bool OleControlSite::Activate(REFCLSID clsid) {
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(control_.Receive())))) {
        return false;
    }
    if (FAILED(control_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(oleObject_.Receive())))) {
        return false;
    }
    // The site first: controls that read ambient properties while they
    // initialise (OLEMISC_SETCLIENTSITEFIRST, the web browser among them)
    // need it before InitNew.
    if (FAILED(oleObject_->SetClientSite(this))) {
        return false;
    }
    ComPtr<IPersistStreamInit> persist;
    if (SUCCEEDED(control_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(persist.Receive())))) {
        persist->InitNew();
    }
    RECT area = HostArea();
    if (FAILED(oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, host_, &area))) {
        return false;
    }
    control_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlaceObject_.Receive()));
    Resize(area.right - area.left, area.bottom - area.top);
    return true;
}

void OleControlSite::Close() {
    for (Connection& connection : connections_) {
        connection.point->Unadvise(connection.cookie);
        connection.sink->Disconnect();
    }
    connections_.clear();
    if (inPlaceObject_ && inPlaceActive_) {
        inPlaceObject_->InPlaceDeactivate();
    }
    inPlaceObject_.Reset();
    if (oleObject_) {
        oleObject_->Close(OLECLOSE_NOSAVE);
        oleObject_->SetClientSite(nullptr);
        oleObject_.Reset();
    }
    control_.Reset();
}

void OleControlSite::Resize(int width, int height) {
    if (inPlaceObject_) {
        RECT area{0, 0, width, height};
        inPlaceObject_->SetObjectRects(&area, &area);
    }
}

void OleControlSite::FocusControl() {
    HWND window = nullptr;
    if (inPlaceObject_ && SUCCEEDED(inPlaceObject_->GetWindow(&window)) && window != nullptr) {
        ::SetFocus(window);
    }
}

bool OleControlSite::TranslateAccelerator(MSG& msg) {
    if (!control_) {
        return false;
    }
    ComPtr<IOleInPlaceActiveObject> active;
    if (FAILED(control_->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(active.Receive())))) {
        return false;
    }
    return active->TranslateAccelerator(&msg) == S_OK;
}

bool OleControlSite::Advise(REFIID events, OleEventHandler handler) {
    if (!control_) {
        return false;
    }
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(control_->QueryInterface(IID_IConnectionPointContainer,
                                        reinterpret_cast<void**>(container.Receive())))) {
        return false;
    }
    ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(events, point.Receive()))) {
        return false;
    }
    ComPtr<DispatchEventSink> sink;
    sink.Attach(new DispatchEventSink(events, std::move(handler)));
    DWORD cookie = 0;
    if (FAILED(point->Advise(static_cast<IDispatch*>(sink.Get()), &cookie))) {
        return false;
    }
    connections_.push_back(Connection{point, sink, cookie});
    return true;
}

// IUnknown

STDMETHODIMP OleControlSite::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleControlSite)) {
        *object = static_cast<IOleControlSite*>(this);
    } else if (IsEqualIID(iid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) OleControlSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) OleControlSite::Release() {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

// IOleClientSite: the control is never saved into a document of ours.

STDMETHODIMP OleControlSite::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP OleControlSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker != nullptr) {
        *moniker = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP OleControlSite::GetContainer(IOleContainer** container) {
    if (container != nullptr) {
        *container = nullptr;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP OleControlSite::ShowObject() { return S_OK; }
STDMETHODIMP OleControlSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP OleControlSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// IOleInPlaceSite

STDMETHODIMP OleControlSite::GetWindow(HWND* window) {
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = host_;
    return S_OK;
}

STDMETHODIMP OleControlSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
STDMETHODIMP OleControlSite::CanInPlaceActivate() { return S_OK; }

STDMETHODIMP OleControlSite::OnInPlaceActivate() {
    inPlaceActive_ = true;
    return S_OK;
}

STDMETHODIMP OleControlSite::OnUIActivate() { return S_OK; }

STDMETHODIMP OleControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                              LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr) {
        return E_POINTER;
    }
    *frame = frame_.Get();
    (*frame)->AddRef();
    *document = nullptr;
    *position = HostArea();
    *clip = *position;
    if (frameInfo != nullptr) {
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = GetAncestor(host_, GA_ROOT);
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP OleControlSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP OleControlSite::OnUIDeactivate(BOOL) { return S_OK; }

STDMETHODIMP OleControlSite::OnInPlaceDeactivate() {
    inPlaceActive_ = false;
    return S_OK;
}

STDMETHODIMP OleControlSite::DiscardUndoState() { return S_OK; }
STDMETHODIMP OleControlSite::DeactivateAndUndo() { return S_OK; }

STDMETHODIMP OleControlSite::OnPosRectChange(LPCRECT position) {
    // The host decides the size: the control always fills it.
    RECT area = HostArea();
    if (inPlaceObject_ && position != nullptr) {
        inPlaceObject_->SetObjectRects(&area, &area);
    }
    return S_OK;
}

// IOleControlSite

STDMETHODIMP OleControlSite::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP OleControlSite::LockInPlaceActive(BOOL) { return S_OK; }

STDMETHODIMP OleControlSite::GetExtendedControl(IDispatch** extended) {
    if (extended != nullptr) {
        *extended = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP OleControlSite::TransformCoords(POINTL*, POINTF*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP OleControlSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }
STDMETHODIMP OleControlSite::OnFocus(BOOL) { return S_OK; }
STDMETHODIMP OleControlSite::ShowPropertyFrame() { return E_NOTIMPL; }

// IDispatch (ambient properties)

STDMETHODIMP OleControlSite::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

STDMETHODIMP OleControlSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP OleControlSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP OleControlSite::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace fw
