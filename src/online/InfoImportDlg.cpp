#include "online/InfoImportDlg.h"

#include <exdisp.h>
#include <exdispid.h>

#include "framework/Com.h"
#include "framework/ResourceModule.h"
#include "online/HttpRequestRules.h"
#include "session/DiagnosticLog.h"
#include "resource.h"
#include "session/LocalText.h"

namespace korv {

namespace {

const wchar_t kCloseMarker[] = L"closeWindows=yes";

// The title format comes from the resource library, which a translator
// edits: its first "%s" takes the name and "%%" reads as "%"; nothing of
// it ever reaches printf.
std::wstring FillFirstArgument(const std::wstring& format, const std::wstring& argument) {
    std::wstring out;
    bool filled = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L'%') {
                out += L'%';
                ++i;
                continue;
            }
            if (format[i + 1] == L's' && !filled) {
                out += argument;
                filled = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

// The address argument of DocumentComplete: a variant passed by reference
// that holds text. Null for anything else.
const VARIANT* TextVariant(const VARIANT* argument) {
    if (argument != nullptr && argument->vt == (VT_BYREF | VT_VARIANT)) {
        argument = argument->pvarVal;
    }
    return argument != nullptr && argument->vt == VT_BSTR ? argument : nullptr;
}

}  // namespace

std::wstring InfoPageTitle() {
    return FillFirstArgument(LoadText(IDS_INFO_PAGE_TITLE, L"Thank you for using %s"),
                             LoadText(IDS_PRODUCT_INSTANCE_NAME, L"Korvanix2024"));
}

CInfoImportDlg::CInfoImportDlg(HWND owner) : CDialogEx(IDD_INFO_PAGE, owner) {
    // The template's browser control needs its host window class.
    fw::EnableControlContainer();
    icon_ = LoadIconW(fw::GetResourceModule(), MAKEINTRESOURCEW(IDI_APP));
}

CInfoImportDlg::~CInfoImportDlg() {
    // The window (and with it the browser and its event connection) goes
    // before the members it calls back into.
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
}

void CInfoImportDlg::DoDataExchange(fw::CDataExchange& dx) {
    CDialogEx::DoDataExchange(dx);
    fw::DDX_Control(dx, IDC_INFO_BROWSER, browser_);
}

bool CInfoImportDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetIcon(icon_, false);
    SetWindowText(InfoPageTitle().c_str());

    RECT frame = GetWindowRect();
    MoveWindow(frame.left, frame.top, kWidth, kHeight, true);
    RECT client = GetClientRect();
    if (browser_.GetSafeHwnd() != nullptr) {
        browser_.MoveWindow(0, 0, client.right, client.bottom, true);
        browser_.SetEventHandler(DIID_DWebBrowserEvents2,
                                 [this](DISPID id, DISPPARAMS& params) { OnBrowserEvent(id, params); });
    }
    NavigateWithAgent(address_);
    return true;
}

void CInfoImportDlg::NavigateWithAgent(const std::wstring& address) {
    VARIANT headers;
    VariantInit(&headers);
    headers.vt = VT_BSTR;
    headers.bstrVal = SysAllocString(kAgentHeader);
    browser_.SetSilent(true);
    browser_.Navigate(address, nullptr, nullptr, nullptr, &headers);
    VariantClear(&headers);
}

void CInfoImportDlg::OnBrowserEvent(DISPID id, DISPPARAMS& params) {
    // Arguments arrive last first. BeforeNavigate2 (frame, address, flags,
    // target, post data, headers, cancel) and NewWindow2 (window, cancel) /
    // NewWindow3 (window, cancel, flags, context, address) answer through
    // their cancel argument.
    if (id == DISPID_BEFORENAVIGATE2 || id == DISPID_NEWWINDOW2 || id == DISPID_NEWWINDOW3) {
        const UINT cancelAt = id == DISPID_NEWWINDOW3 ? 3 : 0;
        bool cancel = true;
        if (id == DISPID_BEFORENAVIGATE2) {
            const VARIANT* text = params.cArgs >= 6 ? TextVariant(&params.rgvarg[5]) : nullptr;
            const std::wstring url =
                text != nullptr && text->bstrVal != nullptr ? std::wstring(text->bstrVal, SysStringLen(text->bstrVal))
                                                            : L"";
            cancel = !IsAcceptedPageAddress(url, plainHttpAllowed_);
            if (cancel) {
                LogEvent(L"information page: navigation refused: " + url);
            }
        }
        if (cancel && params.cArgs > cancelAt && params.rgvarg[cancelAt].vt == (VT_BYREF | VT_BOOL)) {
            *params.rgvarg[cancelAt].pboolVal = VARIANT_TRUE;
        }
        return;
    }
    if (id != CExplorer_login::kDocumentComplete) {
        return;
    }
    // Arguments arrive last first: the address, then the frame.
    const VARIANT* address = params.cArgs >= 1 ? &params.rgvarg[0] : nullptr;
    IDispatch* frame = params.cArgs >= 2 && params.rgvarg[1].vt == VT_DISPATCH ? params.rgvarg[1].pdispVal : nullptr;
    OnDocumentComplete(frame, address);
}

void CInfoImportDlg::OnDocumentComplete(IDispatch*, const VARIANT* address) {
    const VARIANT* text = TextVariant(address);
    if (text == nullptr) {
        return;
    }
    std::wstring url = text->bstrVal != nullptr ? std::wstring(text->bstrVal, SysStringLen(text->bstrVal)) : L"";
    if (url.find(kCloseMarker) != std::wstring::npos) {
        // The dialog's OK action, which Enter does not reach.
        CDialogEx::OnOK();
    }
}

void CInfoImportDlg::OnSize(UINT, int cx, int cy) {
    Default();
    if (browser_.GetSafeHwnd() != nullptr) {
        browser_.MoveWindow(0, 0, cx, cy, true);
    }
}

const fw::MessageMap& CInfoImportDlg::GetMessageMap() const {
    static const fw::MessageMap map(CDialogEx::GetMessageMap(), {
        fw::on::Size(&CInfoImportDlg::OnSize),
    });
    return map;
}

void ShowInfoPage(const std::wstring& address, bool plainHttpAllowed) {
    // The browser is an OLE control: OLE (and with it COM) for this thread
    // from before the dialog exists until after it has gone.
    fw::OleInit ole;
    CInfoImportDlg dialog(nullptr);
    dialog.SetPageAddress(address, plainHttpAllowed);
    dialog.DoModal();
}

}  // namespace korv
