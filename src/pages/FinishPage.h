// CKorvFinishDlg: the last page. After a new installation it asks for the
// product's start-up workspace; Next runs the configuration program with
// the choice, records it in the installed Setup.ini and shows a second
// finish page in the final layout. After Modify or Repair it opens in the
// final layout, whose Finish only closes it.
#pragma once

#include <windows.h>

#include "skin/Buttons.h"
#include "skin/Labels.h"
#include "skin/SkinDialogs.h"

namespace korv {

class CKorvFinishDlg : public CXResizingDialog {
public:
    explicit CKorvFinishDlg(CWnd* parent = nullptr);
    ~CKorvFinishDlg() override;

    // Runs the page; a workspace page closed without a successful Next still
    // runs the configuration program and records the choice once it is gone.
    INT_PTR DoModal() override;

    bool FinalLayout() const { return finalLayout_; }
    const CFinishPngButton& DraftingButton() const { return drafting_; }
    const CFinishPngButton& ClassicButton() const { return classic_; }
    const CPngButton& NextButton() const { return next_; }

    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    void OnOK() override;

private:
    void ChooseWorkspace(int classic);
    void GiveCaption(CFinishPngButton& button, const CKorvStatic& caption);
    void OnDrafting() { ChooseWorkspace(0); }
    void OnClassic() { ChooseWorkspace(1); }
    void OnNext();
    HBRUSH OnPageCtlColor(HDC dc, HWND control, UINT type);

    bool finalLayout_ = false;

    CFinishPngButton drafting_;
    CFinishPngButton classic_;
    CKorvStatic draftingCaption_;
    CKorvStatic classicCaption_;
    CKorvStatic prompt_;
    CKorvStatic headline_;
    CLabelEx label_;
    CPngButton next_;
};

// The configuration program on the medium for the product's edition, run
// with the workspace choice; when it ran, the choice is written into the
// installed Setup.ini (when there is one). True when the program ran.
bool ConfigureWorkspace();

}  // namespace korv
