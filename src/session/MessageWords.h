// What the diagnostic log says about a message, and how a message is
// answered when SUPPRESSMSGBOXES=1 keeps it from waiting for a person.
// Plain values only: no platform.
#pragma once

#include <string>

#include "session/TipKinds.h"

namespace korv {

struct MessageFacts {
    int kind = kTipNotice;
    bool retryMode = false;         // Retry, Force closed, Cancel
    bool installerMessage = false;  // raised by the Windows Installer during a package
};

struct MessageReply {
    int endCode = kTipCancel;
    int choice = kChoiceNone;
};

// The answer that changes nothing: a notice is acknowledged (OK); a
// question and a retry prompt are declined (Cancel), so no other copy is
// uninstalled and no running product closed; a Windows Installer message
// gets the Windows Installer's own default.
MessageReply SuppressedReply(const MessageFacts& message);

// "message (notice): TEXT", "message (question): ...", "message (Retry,
// Force closed, Cancel): ...", "Windows Installer message: ...".
std::wstring MessageShownEvent(const MessageFacts& message, const std::wstring& text);

// "answered OK" ... ; suppressed: "not shown (SUPPRESSMSGBOXES=1), answered Cancel".
std::wstring MessageAnswerEvent(const MessageFacts& message, const MessageReply& reply, bool suppressed);

}  // namespace korv
