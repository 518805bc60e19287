// CKorvFinishDlg: the last page. After a new installation it asks for the
// product's start-up workspace; Next runs the configuration program with
// the choice, records it in the installed Setup.ini and shows a second
// finish page in the final layout. After Modify or Repair it opens in the
// final layout, whose Finish only closes it.
//
// The configuration program runs while the workspace page stays on screen
// with a busy cursor and its buttons disabled; the wait keeps dispatching
// the page's messages, so it paints and answers however long the program
// takes. When the program did not configure the installation (missing,
// after its one notice, or failed) the final layout still follows, and
// ConfigurationFailed() tells the wizard to end the run with 1603.
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
    // The configuration program was run from this page and did not
    // configure the installation.
    bool ConfigurationFailed() const { return configurationFailed_; }
    // The configuration program is running (the page waits for it).
    bool Configuring() const { return configuring_; }
    const CFinishPngButton& DraftingButton() const { return drafting_; }
    const CFinishPngButton& ClassicButton() const { return classic_; }
    const CPngButton& NextButton() const { return next_; }

    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    void OnOK() override;
    // The close box: the configuration program still runs, with this page
    // on screen, but no final page follows.
    void OnCancel() override;

private:
    void ChooseWorkspace(int classic);
    void GiveCaption(CFinishPngButton& button, const CKorvStatic& caption);
    void OnDrafting() { ChooseWorkspace(0); }
    void OnClassic() { ChooseWorkspace(1); }
    void OnNext();
    HBRUSH OnPageCtlColor(HDC dc, HWND control, UINT type);
    bool OnPageSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    // Runs the configuration program once for this page, on screen.
    void Configure();
    void HidePageAndBackground();

    bool finalLayout_ = false;
    bool configured_ = false;
    bool configuring_ = false;
    bool configurationFailed_ = false;

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
// with the workspace choice; when it configured the installation, the
// choice is written into the installed Setup.ini (when there is one). True
// when it did; false after the runner's own notice (owned by owner) or a
// failed run.
bool ConfigureWorkspace(HWND owner = nullptr);

}  // namespace korv
