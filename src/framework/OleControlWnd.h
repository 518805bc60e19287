// Hosted OLE controls (ActiveX controls such as the system's web browser)
// in dialog templates, without ATL. A template names the control by its
// class id, as the text of a control of the window class kOleControlClass:
//
//   CONTROL "{8856F961-340A-11D0-A96B-00C04FD705A2}", IDC_BROWSER,
//           "fw.OleControl", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 200, 100
//
// The host window creates the control when it is created, keeps it in
// place over its client area on every resize, and closes it when it is
// destroyed. OLE must be initialised on the thread (OleInit) around the
// dialog's whole life, and EnableControlContainer() called before the
// dialog is created. Without either, the host stays an empty window.
//
// A dialog reaches its control through a COleControlWnd member bound with
// DDX_Control: dispatch calls (methods, properties) and event handlers.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include "framework/Com.h"
#include "framework/OleControlSite.h"
#include "framework/Wnd.h"

namespace fw {

extern const wchar_t kOleControlClass[];

// Registers the host window class once per process; true when it exists.
bool EnableControlContainer();

class COleControlWnd : public CWnd {
public:
    // The hosted control; empty when the host has none (or no window yet).
    ComPtr<IUnknown> GetControlUnknown() const;

    // IDispatch::Invoke on the control. params as Invoke takes them (last
    // argument first); result may be null.
    HRESULT InvokeHelper(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result = nullptr) const;
    // A property put with one value.
    HRESULT SetProperty(DISPID id, VARIANT value) const;

    // Delivers the control's events of the dispinterface `events` to the
    // handler until the host window is destroyed.
    bool SetEventHandler(REFIID events, OleEventHandler handler);

    // Keyboard messages for the control's windows go to the active control
    // first, so a page's own keys (Tab between its links, arrows) work.
    bool PreTranslateMessage(MSG& msg) override;

private:
    OleControlSite* Site() const;
};

}  // namespace fw
