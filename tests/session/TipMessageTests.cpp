#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "session/TipMessage.h"
#include "session/ProgressMessages.h"
#include "support/LogCapture.h"
#include "support/ScriptedAnswerer.h"

using namespace korv;

namespace {

// A message-only window that records the messages it is posted.
struct RecordingWindow {
    HWND hwnd = nullptr;
    RecordingWindow() {
        hwnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~RecordingWindow() { DestroyWindow(hwnd); }
    std::vector<UINT> Drain() {
        std::vector<UINT> seen;
        MSG msg;
        while (PeekMessageW(&msg, hwnd, WM_USER, WM_USER + 0x7FFF, PM_REMOVE)) {
            seen.push_back(msg.message);
        }
        return seen;
    }
};

}  // namespace

TEST(TipMessage, AnswererSeesKindTextAndOwnerAndItsAnswerIsReturned) {
    test::ScriptedAnswerer answerer({{kTipCancel, kChoiceCancel}, {kTipOk, kChoiceOk}});
    EXPECT_EQ(ShowTipMessage(kTipQuestion, L"Sure?"), kTipCancel);
    RecordingWindow owner;
    EXPECT_EQ(ShowTipMessage(kTipNotice, L"Done", owner.hwnd), kTipOk);

    ASSERT_EQ(answerer.Requests().size(), 2u);
    EXPECT_EQ(answerer.Requests()[0].kind, kTipQuestion);
    EXPECT_EQ(answerer.Requests()[0].text, L"Sure?");
    EXPECT_EQ(answerer.Requests()[0].owner, nullptr);
    EXPECT_EQ(answerer.Requests()[1].kind, kTipNotice);
    EXPECT_EQ(answerer.Requests()[1].owner, owner.hwnd);
}

TEST(TipMessage, OwnerIsPostedOpenedThenClosedAroundEachMessage) {
    test::ScriptedAnswerer answerer({{kTipOk, kChoiceOk}, {kTipOk, kChoiceOk}});
    RecordingWindow owner;
    ShowTipMessage(kTipNotice, L"one", owner.hwnd);
    ShowTipMessage(kTipNotice, L"two", owner.hwnd);
    ShowTipMessage(kTipNotice, L"no owner");
    std::vector<UINT> expected = {WM_TIP_OPENED, WM_TIP_CLOSED, WM_TIP_OPENED, WM_TIP_CLOSED};
    EXPECT_EQ(owner.Drain(), expected);
}

TEST(TipMessage, RetryModeAndChoiceReachTheCaller) {
    test::ScriptedAnswerer answerer({{kTipOk, kChoiceForceClose}});
    TipRequest request;
    request.kind = kTipQuestion;
    request.text = L"running";
    request.retryMode = true;
    TipAnswer answer = ShowTip(request);
    EXPECT_EQ(answer.endCode, kTipOk);
    EXPECT_EQ(answer.choice, kChoiceForceClose);
    EXPECT_TRUE(answerer.Requests().at(0).retryMode);
}

TEST(TipMessage, AnswererTakesPrecedenceOverTheInstalledPresenter) {
    int presented = 0;
    TipPresenter previous = SetTipPresenter([&](const TipRequest&) {
        ++presented;
        return TipAnswer{kTipOk, kChoiceOk};
    });
    {
        test::ScriptedAnswerer answerer({{kTipCancel, kChoiceCancel}});
        EXPECT_EQ(ShowTipMessage(kTipQuestion, L"q"), kTipCancel);
    }
    EXPECT_EQ(presented, 0);
    EXPECT_EQ(ShowTipMessage(kTipQuestion, L"q"), kTipOk);
    EXPECT_EQ(presented, 1);
    SetTipPresenter(previous);
}

TEST(TipMessage, SuppressedMessagesGetTheAnswerThatChangesNothingAndAreLogged) {
    struct Case {
        const char* id;
        int kind;
        bool retryMode;
        bool installerMessage;
        TipAnswer answer;
        std::wstring answerEvent;
    };
    const Case cases[] = {
        {"notice", kTipNotice, false, false, {kTipOk, kChoiceOk}, L"answered OK"},
        {"question", kTipQuestion, false, false, {kTipCancel, kChoiceCancel}, L"answered Cancel"},
        {"other question kind", kTipQuestionAlt, false, false, {kTipCancel, kChoiceCancel}, L"answered Cancel"},
        {"retry prompt", kTipQuestion, true, false, {kTipCancel, kChoiceCancel}, L"answered Cancel"},
        {"Windows Installer message", kTipNotice, false, true, {kTipInstallerDefault, kChoiceNone},
         L"answered the Windows Installer's default"},
    };
    test::LogCapture log;
    // Not even a test's answerer hears of a suppressed message.
    test::ScriptedAnswerer answerer({{kTipOk, kChoiceOk}});
    RecordingWindow owner;
    const bool previous = SetMessagesSuppressed(true);
    for (const Case& c : cases) {
        TipRequest request;
        request.kind = c.kind;
        request.text = std::wstring(L"text of ") + std::wstring(c.id, c.id + strlen(c.id));
        request.owner = owner.hwnd;
        request.retryMode = c.retryMode;
        request.installerMessage = c.installerMessage;
        const TipAnswer answer = ShowTip(request);
        EXPECT_EQ(answer.endCode, c.answer.endCode) << c.id;
        EXPECT_EQ(answer.choice, c.answer.choice) << c.id;
        const std::vector<std::wstring> events = log.Events();
        ASSERT_GE(events.size(), 2u) << c.id;
        EXPECT_NE(events[events.size() - 2].find(request.text), std::wstring::npos) << c.id;
        EXPECT_EQ(events.back(), L"message not shown (SUPPRESSMSGBOXES=1), " + c.answerEvent) << c.id;
    }
    EXPECT_TRUE(answerer.Requests().empty());
    EXPECT_TRUE(owner.Drain().empty()) << "no message opened, so none closed";
    // A question the person asked for by pressing a button (Cancel in a
    // passive run) is shown all the same.
    TipRequest asked;
    asked.kind = kTipQuestion;
    asked.text = L"Cancel?";
    asked.shownWhenSuppressed = true;
    EXPECT_EQ(ShowTip(asked).endCode, kTipOk);
    EXPECT_EQ(answerer.Requests().size(), 1u);
    SetMessagesSuppressed(previous);

    // Presented again, a message and its answer are logged as well.
    test::ScriptedAnswerer again({{kTipOk, kChoiceOk}});
    EXPECT_EQ(ShowTipMessage(kTipQuestion, L"Sure?"), kTipOk);
    ASSERT_EQ(again.Requests().size(), 1u);
    const std::vector<std::wstring> events = log.Events();
    EXPECT_EQ(events[events.size() - 2], L"message (question): Sure?");
    EXPECT_EQ(events.back(), L"message answered OK");
}
