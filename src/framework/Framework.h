// fw: a thin application framework over Win32, in the shape of the classic
// one (CWinApp, CWinThread, CWnd, CDialog, message maps, data exchange), for
// a dialog-based program. It knows nothing of any product.
//
// A dialog class is a template id, its control members and short handlers:
//
//   class CAskDlg : public fw::CDialog {
//   public:
//       explicit CAskDlg(CWnd* parent) : CDialog(IDD_ASK, parent) {}
//       const fw::MessageMap& GetMessageMap() const override;
//   protected:
//       bool OnInitDialog() override {
//           CDialog::OnInitDialog();             // runs DoDataExchange first
//           name_.SetWindowText(L"default");
//           return true;                         // focus the first control
//       }
//       void DoDataExchange(fw::CDataExchange& dx) override {
//           fw::DDX_Control(dx, IDC_NAME, name_); // the class takes the control over
//       }
//       void OnBrowse() { /* ... */ }
//       void OnChoice(UINT id) { EndDialog(id); }   // any of IDC_A..IDC_C
//       LRESULT OnDone(WPARAM, LPARAM) { EndDialog(IDOK); return 0; }
//   private:
//       fw::CEdit name_;
//   };
//
//   const fw::MessageMap& CAskDlg::GetMessageMap() const {
//       static const fw::MessageMap map(CDialog::GetMessageMap(), {
//           fw::on::Command(IDC_BROWSE, &CAskDlg::OnBrowse),
//           fw::on::CommandRange(IDC_A, IDC_C, &CAskDlg::OnChoice),
//           fw::on::Message(WM_APP_DONE, &CAskDlg::OnDone),
//       });
//       return map;
//   }
//
//   INT_PTR code = CAskDlg(parent).DoModal();   // EndDialog's value
//
// Templates come from fw::GetResourceModule(). Handlers run inside a
// window procedure thunk that catches every exception. What a handler does
// not take goes to Default(), the dialog manager's handling. Notifications
// of a control go first to its own class (fw::on::ControlReflect and
// friends, CBitmapButton::DrawItem), then to the dialog's map.
// PreTranslateMessage of the dialog and its controls sees each message of
// the modal loop before IsDialogMessage; return true to swallow it.
#pragma once

#include "framework/BitmapButton.h"
#include "framework/Com.h"
#include "framework/Controls.h"
#include "framework/DeviceContext.h"
#include "framework/Dialog.h"
#include "framework/DialogEx.h"
#include "framework/Handles.h"
#include "framework/MessageMap.h"
#include "framework/MessagePump.h"
#include "framework/OleControlWnd.h"
#include "framework/Registry.h"
#include "framework/ResourceModule.h"
#include "framework/SharedFonts.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"
#include "framework/Wnd.h"
