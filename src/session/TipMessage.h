// The message function: every message of the program goes through here.
//
//   ShowTipMessage(kTipNotice, text)          notice (OK only)
//   ShowTipMessage(kTipQuestion, text, page)  question owned by a window
//
// With an owner window, the owner is posted WM_TIP_OPENED before the message
// opens and WM_TIP_CLOSED after it has closed, whoever presents it.
//
// Presentation goes through one replaceable function: start-up installs the
// product's tip dialog; tests install a scripted answerer that records the
// requests and answers without a window (it takes precedence over the
// presenter). Real runs never install an answerer.
//
// Every message and its answer are noted in the diagnostic log. With
// messages suppressed (SUPPRESSMSGBOXES=1 in an unattended run, and every
// PLAN=1 run) no message is presented at all, not even to an answerer: each
// gets the answer that changes nothing (MessageWords.h), and the owner is
// posted nothing, since no message opened.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "session/TipKinds.h"

namespace korv {

struct TipRequest {
    int kind = kTipNotice;
    std::wstring text;
    HWND owner = nullptr;
    bool retryMode = false;  // OK reads Retry, Force closed is shown too
    bool installerMessage = false;  // raised by the Windows Installer during a package
    // A question whose OK would undo work (cancel the installation) starts
    // with the focus on Cancel, so Enter or Space never takes it by mistake.
    bool focusOnCancel = false;
    // Shown even while messages are suppressed: a question the person asked
    // for by pressing a button (Cancel on the copy-progress page of a
    // passive run).
    bool shownWhenSuppressed = false;
};

struct TipAnswer {
    int endCode = kTipCancel;
    int choice = kChoiceNone;
};

using TipPresenter = std::function<TipAnswer(const TipRequest&)>;

// Shows one message and returns its answer (end code and choice).
TipAnswer ShowTip(const TipRequest& request);

// The start-up forms: the end code only.
int ShowTipMessage(int kind, const wchar_t* text);
int ShowTipMessage(int kind, const wchar_t* text, HWND owner);

// How many messages this thread has raised so far (shown, answered by a
// test answerer, or answered unseen): a caller learns whether a step it
// ran has already told the person about its failure.
unsigned MessagesRaisedOnThisThread();

// Installs the presentation used from now on; an empty function restores
// the built-in one. Returns the one it replaces.
TipPresenter SetTipPresenter(TipPresenter presenter);

// Installs a test answerer (empty: none). Returns the one it replaces.
TipPresenter SetTipAnswerer(TipPresenter answerer);

// Suppresses every message from now on (or presents them again). Returns
// the previous setting.
bool SetMessagesSuppressed(bool suppressed);
bool MessagesSuppressed();

// The built-in presentation: a system message box with the buttons of the
// kind (retry mode: Try Again = Retry, Continue = Force closed, Cancel).
// Interim: the skinned tip dialog of the toolkit issue (#4) replaces it as
// the presenter that start-up installs.
TipAnswer PresentWithMessageBox(const TipRequest& request);

}  // namespace korv
