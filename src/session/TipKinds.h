// The kinds of message, their end codes and the buttons that end them: the
// vocabulary of the message function (TipMessage.h), as plain values.
#pragma once

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

// The end code a Windows Installer message gets when it is left to the
// Windows Installer's own default (what its external UI handler returns
// for "not handled").
constexpr int kTipInstallerDefault = 0;

}  // namespace korv
