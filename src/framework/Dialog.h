// CDialog: a dialog from a template of the current resource module, modal
// (DoModal, with this framework's own loop so that PreTranslateMessage sees
// every message) or modeless (Create). CDataExchange and the DDX_ helpers
// bind template controls to members in DoDataExchange.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Wnd.h"

namespace fw {

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate) : dialog_(dialog), saveAndValidate_(saveAndValidate) {}

    CDialog& Dialog() const { return dialog_; }
    // True: controls to members (OK pressed); false: members to controls
    // (the dialog opens).
    bool SaveAndValidate() const { return saveAndValidate_; }
    // A value was refused: UpdateData reports false and OnOK does not end.
    void Fail() { failed_ = true; }
    bool Failed() const { return failed_; }

private:
    CDialog& dialog_;
    bool saveAndValidate_;
    bool failed_ = false;
};

// Binds `control` to the template control `id` once (its class takes the
// control over: messages, reflected notifications, drawing). A missing
// control fails the exchange.
void DDX_Control(CDataExchange& dx, int id, CWnd& control);
// The control's window text.
void DDX_Text(CDataExchange& dx, int id, std::wstring& value);
// A check box or radio button state (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE).
void DDX_Check(CDataExchange& dx, int id, int& state);

class CDialog : public CWnd {
public:
    // DoModal's value when the dialog could not be made (no such template in
    // the resource module) or its loop ended without EndDialog (WM_QUIT).
    static constexpr INT_PTR kNoResult = -1;

    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
    CDialog(UINT templateId, HWND parent);
    ~CDialog() override;

    // Creates the dialog, disables its owner (the parent's top-level window,
    // or the thread's main window when there is no parent), runs the loop
    // until EndDialog or WM_QUIT (which is posted again for the loop
    // outside), re-enables and activates the owner, destroys the dialog and
    // returns EndDialog's value. Works on any thread.
    virtual INT_PTR DoModal();

    // Modeless: creates the window and returns; the thread's loops serve it.
    bool Create(UINT templateId, CWnd* parent = nullptr);
    bool Create(UINT templateId, HWND parent);

    // Ends a modal loop with `result`; a modeless dialog is hidden.
    void EndDialog(INT_PTR result);
    // EndDialog was called during the current modal run (the window stays
    // until the loop returns).
    bool Ending() const { return ended_; }

    // Runs DoDataExchange; false when an exchange failed.
    bool UpdateData(bool saveAndValidate = true);

    UINT TemplateId() const { return templateId_; }
    bool IsDialogWindow() const override { return true; }
    const MessageMap& GetMessageMap() const override;

protected:
    // WM_INITDIALOG. Call the base first (it exchanges data into the
    // controls). True lets the dialog manager focus the first control;
    // false means the handler placed the focus itself.
    virtual bool OnInitDialog();
    // The OK (IDOK) and Cancel (IDCANCEL) commands: Enter, Escape, the close
    // box. OnOK exchanges data back and ends with IDOK when that succeeds.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);

    HWND ParentHandle() const;

private:
    static INT_PTR CALLBACK DialogProcStub(HWND, UINT, WPARAM, LPARAM);
    bool CreateFromTemplate(HWND parent);
    void RunModalLoop();
    LRESULT HandleInitDialog(WPARAM, LPARAM);
    void HandleOk() { OnOK(); }
    void HandleCancel() { OnCancel(); }

    UINT templateId_;
    CWnd* parentWnd_ = nullptr;
    HWND parentHwnd_ = nullptr;
    bool inModalLoop_ = false;
    bool ended_ = false;
    INT_PTR result_ = kNoResult;
};

}  // namespace fw
