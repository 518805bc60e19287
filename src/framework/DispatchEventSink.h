// An event sink for a control's dispinterface (DWebBrowserEvents2 and the
// like): the control calls Invoke for every event, and the sink hands the
// dispatch id and arguments to one handler. Exceptions of the handler stay
// here: nothing may unwind into the control's code.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include "framework/OleControlSite.h"

namespace fw {

class DispatchEventSink final : public IDispatch {
public:
    // One reference for the caller.
    DispatchEventSink(REFIID events, OleEventHandler handler) : events_(events), handler_(std::move(handler)) {}

    // Stops delivering events: the connection may still call Invoke until
    // it is cut, but the owner of the handler may already be gone.
    void Disconnect() { handler_ = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

private:
    ~DispatchEventSink() = default;

    LONG references_ = 1;
    IID events_;
    OleEventHandler handler_;
};

}  // namespace fw
