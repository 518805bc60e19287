// CKVUninstallWelcomeDialog: the first page when the product is installed.
// The person picks Modify, Repair or Uninstall; Next ends the page with 1
// (Uninstall after question 2014; Modify and Repair after recording the
// folder in the setup record), Cancel with 2 after question 2055.
#pragma once

#include <windows.h>

#include "skin/Buttons.h"
#include "skin/Labels.h"
#include "skin/SkinDialogs.h"

namespace korv {

class CKVUninstallWelcomeDialog : public CArcBitmapDialog {
public:
    // The choice: 0 Modify, 1 Repair, 2 Uninstall.
    static constexpr int kModify = 0;
    static constexpr int kRepair = 1;
    static constexpr int kUninstall = 2;

    explicit CKVUninstallWelcomeDialog(CWnd* parent = nullptr);
    ~CKVUninstallWelcomeDialog() override;

    // 2 until an option is clicked (although none shows as chosen).
    int Selection() const { return selection_; }
    const SelectBitmapButton& Option(int k) const { return options_[k]; }
    const CPngButton& NextButton() const { return next_; }

    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnOption(UINT id);

    int selection_ = kUninstall;
    bool chosen_ = false;

    CKorvStatic headline_;
    SelectBitmapButton options_[3];
    CPngButton next_;
    CPngButton cancel_;
};

}  // namespace korv
