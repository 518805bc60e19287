#include "framework/Dialog.h"

#include <string>

#include "framework/DecimalText.h"
#include "framework/MessagePump.h"
#include "framework/ResourceModule.h"
#include "framework/WinThread.h"

namespace fw {

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    if (control.GetSafeHwnd() != nullptr) {
        return;  // bound by an earlier exchange
    }
    if (!control.SubclassDlgItem(static_cast<UINT>(id), dx.Dialog().GetSafeHwnd())) {
        dx.Fail();
    }
}

void DDX_Text(CDataExchange& dx, int id, std::wstring& value) {
    if (dx.SaveAndValidate()) {
        value = dx.Dialog().GetDlgItemText(id);
    } else {
        dx.Dialog().SetDlgItemText(id, value.c_str());
    }
}

void DDX_Check(CDataExchange& dx, int id, int& state) {
    HWND control = dx.Dialog().GetDlgItem(id);
    if (dx.SaveAndValidate()) {
        state = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
    } else {
        SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    }
}

CDialog::CDialog(UINT templateId, CWnd* parent) : templateId_(templateId), parentWnd_(parent) {}

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parentHwnd_(parent) {}

CDialog::~CDialog() {
    if (GetSafeHwnd() != nullptr) {
        DestroyWindow();
    }
}

HWND CDialog::ParentHandle() const {
    return parentWnd_ != nullptr ? parentWnd_->GetSafeHwnd() : parentHwnd_;
}

INT_PTR CALLBACK CDialog::DialogProcStub(HWND, UINT, WPARAM, LPARAM) {
    // Every message reaches the object through the window procedure thunk
    // first; what it leaves to the dialog manager gets its default handling.
    return FALSE;
}

bool CDialog::CreateFromTemplate(HWND parent) {
    HWND created;
    {
        CreationHook hook(*this);
        created = CreateDialogParamW(GetResourceModule(), MAKEINTRESOURCEW(templateId_), parent,
                                     &CDialog::DialogProcStub, 0);
    }
    if (created == nullptr) {
        // Usually a template id that the resource module lacks (error 1812),
        // a control class nobody registered, or no display at all.
        std::wstring text = L"fw: dialog " + fw::DecimalText(templateId_) +
                            L" could not be created from the resource module, error " +
                            fw::DecimalText(GetLastError()) + L"\n";
        OutputDebugStringW(text.c_str());
        return false;
    }
    ownsWindow_ = true;
    return true;
}

INT_PTR CDialog::DoModal() {
    if (GetSafeHwnd() != nullptr) {
        return kNoResult;  // already open
    }
    ended_ = false;
    result_ = kNoResult;

    HWND owner = ParentHandle();
    if (owner == nullptr) {
        CWnd* main = AfxGetMainWnd();
        owner = main != nullptr ? main->GetSafeHwnd() : nullptr;
    }
    if (owner != nullptr) {
        // Only a top-level window can own a popup; disable that one.
        owner = GetAncestor(owner, GA_ROOT);
    }
    // Disabled before the dialog exists, as the dialog manager does, so
    // that OnInitDialog already sees a modal state. An owner that was
    // disabled already is left as it was, afterwards too.
    bool ownerDisabled = false;
    if (owner != nullptr && owner != GetDesktopWindow() && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }

    inModalLoop_ = true;
    if (CreateFromTemplate(owner) && !ended_) {
        RunModalLoop();
    }
    inModalLoop_ = false;

    if (ownerDisabled) {
        ::EnableWindow(owner, TRUE);
    }
    HWND self = GetSafeHwnd();
    if (self != nullptr) {
        // Activate the owner before the dialog goes, or the system hands the
        // activation to some other program's window.
        if (owner != nullptr && GetActiveWindow() == self) {
            SetActiveWindow(owner);
        }
        DestroyWindow();
    }
    return result_;
}

void CDialog::RunModalLoop() {
    bool shown = false;
    MSG msg;
    while (!ended_ && GetSafeHwnd() != nullptr) {
        // Shown once the queue is first empty: a dialog that ends itself
        // from OnInitDialog's posted messages never flashes up.
        if (!shown && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            shown = true;
            if (!IsWindowVisible()) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
            }
            continue;
        }
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The loop outside must see the quit request too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (got == -1) {
            continue;
        }
        PumpMessage(msg);
    }
}

bool CDialog::Create(UINT templateId, CWnd* parent) {
    if (GetSafeHwnd() != nullptr) {
        return false;
    }
    templateId_ = templateId;
    parentWnd_ = parent;
    parentHwnd_ = nullptr;
    ended_ = false;
    return CreateFromTemplate(ParentHandle());
}

bool CDialog::Create(UINT templateId, HWND parent) {
    if (GetSafeHwnd() != nullptr) {
        return false;
    }
    templateId_ = templateId;
    parentWnd_ = nullptr;
    parentHwnd_ = parent;
    ended_ = false;
    return CreateFromTemplate(parent);
}

void CDialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (!inModalLoop_ && GetSafeHwnd() != nullptr) {
        ShowWindow(SW_HIDE);
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange&) {}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog() ? TRUE : FALSE; }

const MessageMap& CDialog::GetMessageMap() const {
    static const MessageMap map(CWnd::GetMessageMap(), {
        on::Message(WM_INITDIALOG, &CDialog::HandleInitDialog),
        on::Command(IDOK, &CDialog::HandleOk),
        on::Command(IDCANCEL, &CDialog::HandleCancel),
    });
    return map;
}

}  // namespace fw
