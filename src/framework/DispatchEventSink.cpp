#include "framework/DispatchEventSink.h"

#include <exception>
#include <string>

namespace fw {

STDMETHODIMP DispatchEventSink::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    // A connection point may ask for its own dispinterface or plain IDispatch.
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, events_)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DispatchEventSink::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) DispatchEventSink::Release() {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP DispatchEventSink::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

STDMETHODIMP DispatchEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP DispatchEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP DispatchEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                       UINT*) {
    if (!handler_) {
        return S_OK;
    }
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    // The handler may end the dialog that owns this sink and with it the
    // connection: keep the sink alive until the call returns.
    AddRef();
    try {
        OleEventHandler handler = handler_;
        handler(id, params != nullptr ? *params : none);
    } catch (const std::exception& e) {
        std::string text = std::string("fw: exception in a control event handler: ") + e.what() + "\n";
        OutputDebugStringA(text.c_str());
    } catch (...) {
        OutputDebugStringA("fw: exception in a control event handler\n");
    }
    Release();
    return S_OK;
}

}  // namespace fw
