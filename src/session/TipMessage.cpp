#include "session/TipMessage.h"

#include <atomic>
#include <mutex>
#include <utility>

#include "framework/SlimLock.h"
#include "session/DiagnosticLog.h"
#include "session/LocalText.h"
#include "session/MessageWords.h"
#include "session/ProgressMessages.h"

namespace korv {

namespace {

// Messages may be shown from the UI thread and the install worker, so the
// two slots are read and written under a lock; the presentation itself runs
// outside it.
fw::SlimLock g_slotsLock;
TipPresenter g_presenter;
TipPresenter g_answerer;
std::atomic<bool> g_suppressed{false};

TipPresenter CurrentPresentation() {
    std::lock_guard<fw::SlimLock> lock(g_slotsLock);
    if (g_answerer) {
        return g_answerer;
    }
    if (g_presenter) {
        return g_presenter;
    }
    return PresentWithMessageBox;
}

thread_local unsigned t_raised = 0;

}  // namespace

unsigned MessagesRaisedOnThisThread() {
    return t_raised;
}

TipAnswer ShowTip(const TipRequest& request) {
    ++t_raised;
    const MessageFacts facts{request.kind, request.retryMode, request.installerMessage};
    LogEvent(MessageShownEvent(facts, request.text));
    if (g_suppressed.load() && !request.shownWhenSuppressed) {
        const MessageReply reply = SuppressedReply(facts);
        LogEvent(MessageAnswerEvent(facts, reply, true));
        return {reply.endCode, reply.choice};
    }
    TipPresenter present = CurrentPresentation();
    if (request.owner != nullptr) {
        PostMessageW(request.owner, WM_TIP_OPENED, 0, 0);
    }
    TipAnswer answer = present(request);
    if (request.owner != nullptr) {
        PostMessageW(request.owner, WM_TIP_CLOSED, 0, 0);
    }
    LogEvent(MessageAnswerEvent(facts, {answer.endCode, answer.choice}, false));
    return answer;
}

int ShowTipMessage(int kind, const wchar_t* text) {
    return ShowTipMessage(kind, text, nullptr);
}

int ShowTipMessage(int kind, const wchar_t* text, HWND owner) {
    TipRequest request;
    request.kind = kind;
    request.text = text != nullptr ? text : L"";
    request.owner = owner;
    return ShowTip(request).endCode;
}

TipPresenter SetTipPresenter(TipPresenter presenter) {
    std::lock_guard<fw::SlimLock> lock(g_slotsLock);
    return std::exchange(g_presenter, std::move(presenter));
}

TipPresenter SetTipAnswerer(TipPresenter answerer) {
    std::lock_guard<fw::SlimLock> lock(g_slotsLock);
    return std::exchange(g_answerer, std::move(answerer));
}

bool SetMessagesSuppressed(bool suppressed) {
    return g_suppressed.exchange(suppressed);
}

bool MessagesSuppressed() {
    return g_suppressed.load();
}

TipAnswer PresentWithMessageBox(const TipRequest& request) {
    std::wstring title = LoadText(2015, L"Korvanix 2024");
    UINT style = MB_SETFOREGROUND | MB_TOPMOST;
    if (request.retryMode) {
        style |= MB_CANCELTRYCONTINUE | MB_ICONWARNING;
    } else if (request.kind == kTipNotice) {
        style |= MB_OK | MB_ICONINFORMATION;
    } else {
        style |= MB_OKCANCEL | MB_ICONQUESTION;
    }
    // No owner window: the owner may belong to another thread (the worker
    // shows messages over the UI thread's page), and a message box would
    // disable it across threads.
    int button = MessageBoxW(nullptr, request.text.c_str(), title.c_str(), style);

    TipAnswer answer;
    switch (button) {
    case IDOK:
    case IDTRYAGAIN:
        answer = {kTipOk, kChoiceOk};
        break;
    case IDCONTINUE:
        answer = {kTipOk, kChoiceForceClose};
        break;
    default:
        answer = {kTipCancel, kChoiceCancel};
        break;
    }
    return answer;
}

}  // namespace korv
