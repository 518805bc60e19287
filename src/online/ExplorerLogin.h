// CExplorer_login: the system's web browser control (class id
// {8856F961-340A-11D0-A96B-00C04FD705A2}) as hosted in a dialog template,
// with the two calls the information page makes through its dispatch
// interface.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <string>

#include "framework/OleControlWnd.h"

namespace korv {

class CExplorer_login : public fw::COleControlWnd {
public:
    // Dispatch ids of IWebBrowser2 and DWebBrowserEvents2.
    static constexpr DISPID kSilent = 551;            // property, boolean
    static constexpr DISPID kNavigate = 104;          // method
    static constexpr DISPID kDocumentComplete = 259;  // event (frame, address)

    // Silent: the browser shows no script errors or dialogs of its own.
    HRESULT SetSilent(bool silent) const;

    // Navigate(address, flags, target frame, post data, headers); a null
    // variant pointer is an argument left out.
    HRESULT Navigate(const std::wstring& address, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                     VARIANT* headers) const;
};

}  // namespace korv
