// CArcTipDialog: the program's message box. A small skinned dialog with the
// product name as title, the message and one to three picture buttons, on
// top of a translucent background window of its own.
//
//   auto background = std::make_unique<CKvPngTipBKDlg>();
//   CArcTipDialog tip(std::move(background));
//   tip.SetMessage(kTipQuestion, text);
//   tip.AttachToPage(page);                  // or create and show the background
//   int code = static_cast<int>(tip.DoModal());   // 1 OK/Retry/Force closed, 2 Cancel
//
// The dialog frames itself on its background window's card: the card is
// sized to the dialog (40 pixels, DPI-scaled, on every side) from the
// dialog's first size on, the message grows to its text, and the keyboard
// starts on OK (Retry).
//
// Only one tip dialog is answered at a time in the whole process: one that
// opens while another is open closes itself at once with Cancel.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "session/TipMessage.h"
#include "skin/BackgroundWindows.h"
#include "skin/Buttons.h"
#include "skin/Labels.h"
#include "skin/SkinDialogs.h"

namespace korv {

class CArcTipDialog : public CArcBitmapDialog {
public:
    // The background window becomes the dialog's owner and is closed and
    // deleted with it. It may still lack its window: the caller (or
    // AttachToPage) creates it before the dialog runs.
    explicit CArcTipDialog(std::unique_ptr<CKvPngTipBKDlg> background);
    ~CArcTipDialog() override;

    // Kind 2: notice (OK); any other kind: question (OK and Cancel). Loads
    // the title (text 2015).
    void SetMessage(int kind, const std::wstring& text);
    void SetRetryMode(bool retry) { retryMode_ = retry; }
    // A question whose OK undoes work starts on Cancel, which Enter presses too.
    void SetFocusOnCancel(bool onCancel) { focusOnCancel_ = onCancel; }
    // The window the dialog centres on (none: the screen), its background
    // 40 pixels around it.
    void SetOwnerWindow(HWND owner) { ownerWindow_ = owner; }
    // Shown over a wizard page: the background window is made from its
    // template owned by the page, hidden, 500 x 280 with the tip picture,
    // centred on the page's background window; the page's input is blocked
    // while the dialog exists.
    void AttachToPage(CArcBitmapDialog* page);

    // Links the background window (when it exists) before the dialog is
    // made, then runs it. 1 OK, Retry or Force closed; 2 Cancel or closed
    // otherwise; kNoResult when the dialog could not be made.
    INT_PTR DoModal() override;

    // 1 Force closed, 2 OK or Retry, 0 Cancel; -1 until a button ends it.
    int GetChoice() const { return choice_; }
    // Whether the dialog came up at all (false: no template to make it from).
    bool Opened() const { return opened_; }
    int Kind() const { return kind_; }
    const std::wstring& Title() const { return title_; }
    const std::wstring& Message() const { return message_; }
    CKvPngTipBKDlg* Background() const { return background_.get(); }

    // Tip dialogs open now in the process (any thread).
    static int OpenCount();

    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;
    void OnOK() override;
    void OnCancel() override;
    // The tip's background reaches 40 pixels beyond it, also when it moves.
    int BackMargin() const override;

private:
    void OnForceClose();
    void OnTipSize(UINT type, int cx, int cy);
    LRESULT OnTipHitTest(POINT) { return HTNOWHERE; }
    void OnDestroy();
    void ReleasePage();
    // Makes the message as tall as its text (the buttons and the dialog grow
    // with it), within what the screen can show.
    void FitMessageToText();
    void PlaceBackgroundAround();
    void CloseBackground();
    RECT WidenedWindowRect() const;

    int choice_ = -1;
    int kind_ = kTipNotice;
    std::wstring title_;
    std::wstring message_;
    std::unique_ptr<CKvPngTipBKDlg> background_;
    CArcBitmapDialog* page_ = nullptr;
    bool retryMode_ = false;
    bool focusOnCancel_ = false;
    HWND ownerWindow_ = nullptr;
    HWND pageHwnd_ = nullptr;
    bool counted_ = false;
    bool opened_ = false;

    CPngButton picture_;
    CKorvStatic titleText_;
    CKorvStatic messageText_;
    CPngButton ok_;
    CPngButton cancel_;
    CPngButton forceClose_;
};

// The presentation of the message function with a tip dialog: over the
// owner when it is a page of this thread, otherwise on a background window
// of its own, centred on the owner when there is one.
TipAnswer PresentWithTipDialog(const TipRequest& request);

}  // namespace korv
