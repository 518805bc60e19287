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
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace korv {

// Kinds: 2 is a notice (OK only); every other kind is a question (OK and
// Cancel). Callers use 0 and 1 for questions.
constexpr int kTipQuestion = 0;
constexpr int kTipQuestionAlt = 1;
constexpr int kTipNotice = 2;

// End codes.
constexpr int kTipOk = 1;      // OK, Retry and Force closed
constexpr int kTipCancel = 2;  // Cancel, or closed otherwise

// Which button ended the message.
constexpr int kChoiceNone = -1;
constexpr int kChoiceCancel = 0;
constexpr int kChoiceForceClose = 1;
constexpr int kChoiceOk = 2;  // OK or Retry

struct TipRequest {
    int kind = kTipNotice;
    std::wstring text;
    HWND owner = nullptr;
    bool retryMode = false;  // OK reads Retry, Force closed is shown too
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

// Installs the presentation used from now on; an empty function restores
// the built-in one. Returns the one it replaces.
TipPresenter SetTipPresenter(TipPresenter presenter);

// Installs a test answerer (empty: none). Returns the one it replaces.
TipPresenter SetTipAnswerer(TipPresenter answerer);

// The built-in presentation: a system message box with the buttons of the
// kind (retry mode: Try Again = Retry, Continue = Force closed, Cancel).
// Interim: the skinned tip dialog of the toolkit issue (#4) replaces it as
// the presenter that start-up installs.
TipAnswer PresentWithMessageBox(const TipRequest& request);

}  // namespace korv
