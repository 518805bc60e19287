#include "session/MessageWords.h"

namespace korv {

namespace {

std::wstring ButtonName(const MessageFacts& message, const MessageReply& reply) {
    if (message.installerMessage && reply.endCode == kTipInstallerDefault) {
        return L"the Windows Installer's default";
    }
    switch (reply.choice) {
    case kChoiceOk:
        return message.retryMode ? L"Retry" : L"OK";
    case kChoiceForceClose:
        return L"Force closed";
    case kChoiceCancel:
        return L"Cancel";
    default:
        // Closed without a button (the end code tells which way).
        return reply.endCode == kTipOk ? L"OK (closed)" : L"Cancel (closed)";
    }
}

}  // namespace

MessageReply SuppressedReply(const MessageFacts& message) {
    if (message.installerMessage) {
        return {kTipInstallerDefault, kChoiceNone};
    }
    if (message.kind == kTipNotice && !message.retryMode) {
        return {kTipOk, kChoiceOk};
    }
    return {kTipCancel, kChoiceCancel};
}

std::wstring MessageShownEvent(const MessageFacts& message, const std::wstring& text) {
    std::wstring kind;
    if (message.installerMessage) {
        kind = L"Windows Installer message";
    } else if (message.retryMode) {
        kind = L"message (Retry, Force closed, Cancel)";
    } else if (message.kind == kTipNotice) {
        kind = L"message (notice)";
    } else {
        kind = L"message (question)";
    }
    return kind + L": " + text;
}

std::wstring MessageAnswerEvent(const MessageFacts& message, const MessageReply& reply, bool suppressed) {
    const std::wstring button = ButtonName(message, reply);
    return suppressed ? L"message not shown (SUPPRESSMSGBOXES=1), answered " + button : L"message answered " + button;
}

}  // namespace korv
