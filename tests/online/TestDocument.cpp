#include "online/TestDocument.h"

#include <ocidl.h>
#include <olectl.h>
#include <ole2.h>
#include <urlmon.h>

#include <string>

namespace korv::test {

namespace {

// {5A0B7C1E-2D4F-4E61-9C3B-7F1A2E6D9B40}
const CLSID kTestDocumentClass = {0x5a0b7c1e, 0x2d4f, 0x4e61, {0x9c, 0x3b, 0x7f, 0x1a, 0x2e, 0x6d, 0x9b, 0x40}};
const wchar_t kTestDocumentClassText[] = L"{5A0B7C1E-2D4F-4E61-9C3B-7F1A2E6D9B40}";
const wchar_t kMimeKey[] = L"MIME\\Database\\Content Type\\application/x-korvanix-test";

// A document that is complete as soon as it is loaded: the browser asks its
// ready state (IDispatch, DISPID_READYSTATE) and, finding it complete,
// reports DocumentComplete. Everything else is the least a document object
// must answer.
class Document final : public IPersistMoniker, public IOleObject, public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPersistMoniker) || IsEqualIID(iid, IID_IPersist)) {
            *object = static_cast<IPersistMoniker*>(this);
        } else if (IsEqualIID(iid, IID_IOleObject)) {
            *object = static_cast<IOleObject*>(this);
        } else if (IsEqualIID(iid, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            if (site_ != nullptr) {
                site_->Release();
            }
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IPersistMoniker
    STDMETHODIMP GetClassID(CLSID* clsid) override {
        *clsid = kTestDocumentClass;
        return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(BOOL, IMoniker*, LPBC, DWORD) override { return S_OK; }
    STDMETHODIMP Save(IMoniker*, LPBC, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP SaveCompleted(IMoniker*, LPBC) override { return E_NOTIMPL; }
    STDMETHODIMP GetCurMoniker(IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override {
        if (site != nullptr) {
            site->AddRef();
        }
        if (site_ != nullptr) {
            site_->Release();
        }
        site_ = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override {
        *site = site_;
        if (site_ != nullptr) {
            site_->AddRef();
        }
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override { return S_OK; }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override {
        *data = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override {
        *verbs = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* clsid) override {
        *clsid = kTestDocumentClass;
        return S_OK;
    }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR* name) override {
        *name = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD* connection) override {
        *connection = 0;
        return E_NOTIMPL;
    }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override {
        *advise = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
        *status = 0;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IDispatch: the ready state only.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (id != DISPID_READYSTATE || (flags & DISPATCH_PROPERTYGET) == 0 || result == nullptr) {
            return DISP_E_MEMBERNOTFOUND;
        }
        VariantInit(result);
        result->vt = VT_I4;
        result->lVal = READYSTATE_COMPLETE;
        return S_OK;
    }

private:
    ~Document() = default;
    LONG references_ = 1;
    IOleClientSite* site_ = nullptr;
};

class Factory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Static object: lives as long as the test program.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        auto* document = new Document();
        HRESULT hr = document->QueryInterface(iid, object);
        document->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

TestDocumentType::TestDocumentType() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kMimeKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    RegSetValueExW(key, L"CLSID", 0, REG_SZ, reinterpret_cast<const BYTE*>(kTestDocumentClassText),
                   sizeof(kTestDocumentClassText));
    RegCloseKey(key);
    registered_ = SUCCEEDED(CoRegisterClassObject(kTestDocumentClass, &g_factory, CLSCTX_INPROC_SERVER,
                                                  REGCLS_MULTIPLEUSE, &cookie_));
}

TestDocumentType::~TestDocumentType() {
    if (registered_) {
        CoRevokeClassObject(cookie_);
    }
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kMimeKey);
}

}  // namespace korv::test
