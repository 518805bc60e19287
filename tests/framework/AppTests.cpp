#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"

namespace {

constexpr UINT WM_APP_WORK = WM_APP + 20;

class ProbeApp : public fw::CWinApp {
public:
    ProbeApp(bool initResult, int exitOverride) : initResult_(initResult), exitOverride_(exitOverride) {}

    bool workHandled = false;
    bool exited = false;
    bool mainAliveAtExit = false;
    HWND mainWindow = nullptr;
    HWND dialogOwner = nullptr;

    bool InitInstance() override {
        CWinApp::InitInstance();
        main_ = new fw::CWnd;
        main_->CreateEx(0, nullptr, L"main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr);
        mainWindow = main_->GetSafeHwnd();
        SetMainWnd(main_);
        // Posted before the loop; only a running loop delivers it.
        ::PostThreadMessageW(GetCurrentThreadId(), WM_APP_WORK, 0, 0);
        return initResult_;
    }
    int ExitInstance() override {
        exited = true;
        mainAliveAtExit = IsWindow(mainWindow) != FALSE;
        delete main_;
        main_ = nullptr;
        return exitOverride_ >= 0 ? exitOverride_ : CWinApp::ExitInstance();
    }

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CWinApp::GetMessageMap(), {
            fw::on::ThreadMessage(WM_APP_WORK, &ProbeApp::OnWork),
        });
        return map;
    }

private:
    void OnWork(WPARAM, LPARAM) {
        workHandled = true;
        // A dialog without a parent belongs to the main window.
        fwtest::ScriptedDialog dialog({[](fwtest::ScriptedDialog& d) { d.EndDialog(IDOK); }});
        dialog.DoModal();
        dialogOwner = dialog.ownerAtInit;
        PostQuitMessage(5);
    }

    bool initResult_;
    int exitOverride_;
    fw::CWnd* main_ = nullptr;
};

bool TakeThreadMessage(UINT message) {
    MSG msg;
    return PeekMessageW(&msg, reinterpret_cast<HWND>(-1), message, message, PM_REMOVE) != FALSE;
}

}  // namespace

TEST(Application, RunCallsInitInstanceTheLoopOnlyWhenItSaidSoAndReturnsExitInstancesValue) {
    fwtest::TestResources resources;
    ASSERT_TRUE(resources.Loaded());
    struct Case {
        const char* id;
        bool initResult;
        int exitOverride;  // -1: the default ExitInstance
        int expectedCode;
        bool loopRuns;
    };
    const Case cases[] = {
        {"InitInstance false: no loop, ExitInstance's value", false, 9, 9, false},
        {"InitInstance true: loop until WM_QUIT, whose code the default ExitInstance returns", true, -1, 5, true},
    };
    for (const Case& c : cases) {
        ProbeApp app(c.initResult, c.exitOverride);
        ASSERT_EQ(fw::AfxGetApp(), &app) << c.id;
        EXPECT_EQ(fw::RunApplication(GetModuleHandleW(nullptr), L"quiet=1 NUM=3"), c.expectedCode) << c.id;
        EXPECT_STREQ(app.CommandLine(), L"quiet=1 NUM=3") << c.id;
        EXPECT_TRUE(app.exited) << c.id;
        EXPECT_EQ(app.workHandled, c.loopRuns) << c.id;
        EXPECT_EQ(TakeThreadMessage(WM_APP_WORK), !c.loopRuns) << c.id << ": the posted work is still queued";
        EXPECT_EQ(app.mainAliveAtExit, c.loopRuns) << c.id << ": without a loop the main window goes first";
        EXPECT_FALSE(IsWindow(app.mainWindow)) << c.id;
        EXPECT_FALSE(TakeThreadMessage(WM_QUIT)) << c.id << ": no quit request is left behind";
        if (c.loopRuns) {
            EXPECT_EQ(app.dialogOwner, app.mainWindow) << c.id;
        }
    }
    EXPECT_EQ(fw::AfxGetApp(), nullptr);
}

TEST(Application, RunApplicationWithoutAnApplicationObjectFailsClearly) {
    EXPECT_EQ(fw::RunApplication(GetModuleHandleW(nullptr), L""), fw::kExitNoApplication);
}
