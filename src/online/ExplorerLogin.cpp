#include "online/ExplorerLogin.h"

namespace korv {

HRESULT CExplorer_login::SetSilent(bool silent) const {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BOOL;
    value.boolVal = silent ? VARIANT_TRUE : VARIANT_FALSE;
    return SetProperty(kSilent, value);
}

HRESULT CExplorer_login::Navigate(const std::wstring& address, VARIANT* flags, VARIANT* targetFrame,
                                  VARIANT* postData, VARIANT* headers) const {
    // The optional arguments are passed by reference (VARIANT*), as the
    // method declares them; one left out is an empty variant.
    VARIANT empty[4];
    VARIANT* optional[4] = {flags, targetFrame, postData, headers};
    VARIANT arguments[5];
    for (int i = 0; i < 4; ++i) {
        VariantInit(&empty[i]);
        // Invoke takes its arguments last first.
        VariantInit(&arguments[3 - i]);
        arguments[3 - i].vt = VT_BYREF | VT_VARIANT;
        arguments[3 - i].pvarVal = optional[i] != nullptr ? optional[i] : &empty[i];
    }
    VariantInit(&arguments[4]);
    arguments[4].vt = VT_BSTR;
    arguments[4].bstrVal = SysAllocStringLen(address.data(), static_cast<UINT>(address.size()));
    DISPPARAMS params{arguments, nullptr, 5, 0};
    HRESULT hr = InvokeHelper(kNavigate, DISPATCH_METHOD, params);
    SysFreeString(arguments[4].bstrVal);
    return hr;
}

}  // namespace korv
