#include <gtest/gtest.h>

#include <atomic>

#include "FrameworkTestSupport.h"

namespace {

constexpr UINT WM_APP_VALUE = WM_APP + 10;
constexpr UINT WM_APP_DIALOG = WM_APP + 11;
constexpr WPARAM kSwallowed = 13;

// What a thread saw; lives in the test, outside the thread object, which
// deletes itself.
struct Probe {
    fw::UniqueHandle handled{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::atomic<WPARAM> value{0};
    std::atomic<WPARAM> swallowed{0};
    std::atomic<DWORD> handlerThread{0};
    std::atomic<INT_PTR> dialogResult{0};
    std::atomic<DWORD> dialogThread{0};
    std::atomic<bool> exited{false};
    std::atomic<bool> deleted{false};
};

class ProbeThread : public fw::CWinThread {
public:
    ProbeThread(Probe& probe, bool enterLoop) : probe_(probe), enterLoop_(enterLoop) {}
    ~ProbeThread() override { probe_.deleted = true; }

    bool InitInstance() override { return enterLoop_; }
    int ExitInstance() override {
        probe_.exited = true;
        return 77;
    }
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_APP_VALUE && msg.wParam == kSwallowed) {
            probe_.swallowed = msg.wParam;
            return true;
        }
        return false;
    }

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CWinThread::GetMessageMap(), {
            fw::on::ThreadMessage(WM_APP_VALUE, &ProbeThread::OnValue),
            fw::on::ThreadMessage(WM_APP_DIALOG, &ProbeThread::OnDialog),
        });
        return map;
    }

private:
    void OnValue(WPARAM wParam, LPARAM) {
        probe_.value = wParam;
        probe_.handlerThread = GetCurrentThreadId();
        SetEvent(probe_.handled.Get());
    }
    // A modal dialog on this thread, ended by a message posted to it.
    void OnDialog(WPARAM, LPARAM) {
        fwtest::ScriptedDialog dialog({[this](fwtest::ScriptedDialog& d) {
            probe_.dialogThread = GetWindowThreadProcessId(d.GetSafeHwnd(), nullptr);
            d.EndDialog(21);
        }});
        probe_.dialogResult = dialog.DoModal();
        SetEvent(probe_.handled.Get());
    }

    Probe& probe_;
    bool enterLoop_;
};

DWORD ExitCodeOf(HANDLE thread) {
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    return code;
}

}  // namespace

TEST(UiThread, ThreadMessageReachesItsHandlerAndQuitEndsTheThread) {
    Probe probe;
    auto* thread = fw::BeginThread<ProbeThread>(probe, true);
    ASSERT_NE(thread, nullptr);
    DWORD id = thread->ThreadId();
    fw::UniqueHandle handle = thread->DuplicateThreadHandle();
    ASSERT_TRUE(handle);

    // Posted right after the start: the queue must already exist.
    ASSERT_TRUE(thread->PostThreadMessage(WM_APP_VALUE, kSwallowed, 0)) << "error " << GetLastError();
    ASSERT_TRUE(thread->PostThreadMessage(WM_APP_VALUE, 42, 0));
    WaitForSingleObject(probe.handled.Get(), INFINITE);
    EXPECT_EQ(probe.value, 42u);
    EXPECT_EQ(probe.swallowed, kSwallowed) << "the thread's PreTranslateMessage sees thread messages first";
    EXPECT_EQ(probe.handlerThread, id);
    EXPECT_FALSE(probe.exited);

    ASSERT_TRUE(PostThreadMessageW(id, WM_QUIT, 0, 0));
    WaitForSingleObject(handle.Get(), INFINITE);
    EXPECT_TRUE(probe.exited);
    EXPECT_TRUE(probe.deleted);
    EXPECT_EQ(ExitCodeOf(handle.Get()), 77u) << "ExitInstance's value is the thread's exit code";
}

TEST(UiThread, FalseInitInstanceSkipsTheLoopAndStillExitsAndDeletes) {
    Probe probe;
    // With auto-delete off the object outlives its thread, so its own
    // handle can be waited on.
    auto* thread = new ProbeThread(probe, false);
    thread->SetAutoDelete(false);
    ASSERT_TRUE(thread->CreateThread());
    WaitForSingleObject(thread->ThreadHandle(), INFINITE);
    EXPECT_TRUE(probe.exited);
    EXPECT_EQ(ExitCodeOf(thread->ThreadHandle()), 77u);
    EXPECT_FALSE(probe.deleted) << "auto-delete off keeps the object";
    delete thread;
    EXPECT_TRUE(probe.deleted);
}

TEST(UiThread, ModalDialogRunsOnAUiThread) {
    fwtest::TestResources resources;
    ASSERT_TRUE(resources.Loaded());
    Probe probe;
    auto* thread = fw::BeginThread<ProbeThread>(probe, true);
    ASSERT_NE(thread, nullptr);
    DWORD id = thread->ThreadId();
    fw::UniqueHandle handle = thread->DuplicateThreadHandle();
    ASSERT_TRUE(thread->PostThreadMessage(WM_APP_DIALOG, 0, 0));
    WaitForSingleObject(probe.handled.Get(), INFINITE);
    EXPECT_EQ(probe.dialogResult, 21);
    EXPECT_EQ(probe.dialogThread, id);
    PostThreadMessageW(id, WM_QUIT, 0, 0);
    WaitForSingleObject(handle.Get(), INFINITE);
    EXPECT_TRUE(probe.deleted);
}
