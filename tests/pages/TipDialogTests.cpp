// The tip dialog and the skinned page base with real windows: a second
// thread finds the dialog once it is on screen, reads it and clicks.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "session/ProgressMessages.h"
#include "pages/TipDialog.h"
#include "pages/UninstallWait.h"
#include "resource.h"
#include "skin/SkinTestSupport.h"

namespace korv {
namespace {

struct SeenTip {
    HWND dialog = nullptr;
    bool okShown = false, cancelShown = false, forceShown = false;
    std::wstring okText;
    RECT rect{};
};

BOOL CALLBACK NoteVisibleTip(HWND window, LPARAM out) {
    if (IsWindowVisible(window) && GetDlgItem(window, IDC_TIP_MESSAGE) != nullptr) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisibleTip(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(thread, NoteVisibleTip, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits (without a deadline: ctest's timeout is the limit) for a visible tip
// dialog of `thread`, records it, runs `meanwhile`, then clicks `button`.
std::thread ClickTip(DWORD thread, int button, SeenTip& seen, std::function<void()> meanwhile = {}) {
    return std::thread([=, &seen] {
        HWND tip = nullptr;
        while ((tip = FindVisibleTip(thread)) == nullptr) {
            Sleep(10);
        }
        seen.dialog = tip;
        seen.okShown = IsWindowVisible(GetDlgItem(tip, IDC_TIP_OK));
        seen.cancelShown = IsWindowVisible(GetDlgItem(tip, IDC_TIP_CANCEL));
        seen.forceShown = IsWindowVisible(GetDlgItem(tip, IDC_TIP_FORCE_CLOSE));
        wchar_t text[64] = {};
        GetWindowTextW(GetDlgItem(tip, IDC_TIP_OK), text, static_cast<int>(std::size(text)));
        seen.okText = text;
        GetWindowRect(tip, &seen.rect);
        if (meanwhile) {
            meanwhile();
        }
        // What a click on the button sends its dialog. (BM_CLICK from here can
        // lose its press to the activation of the freshly shown dialog.)
        PostMessageW(tip, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(tip, button)));
    });
}

class TipDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(environment.Loaded()); }
    test::SkinEnvironment environment;
};

TEST_F(TipDialogTest, KindsButtonsEndCodesAndChoices) {
    struct Row {
        const char* id;
        int kind;
        bool retry;
        int click;
        int code, choice;
        bool cancelShown, forceShown;
        const wchar_t* okText;
    } rows[] = {
        {"notice OK", kTipNotice, false, IDC_TIP_OK, 1, 2, false, false, L"OK"},
        {"question OK", kTipQuestion, false, IDC_TIP_OK, 1, 2, true, false, L"OK"},
        {"question Cancel", kTipQuestionAlt, false, IDC_TIP_CANCEL, 2, 0, true, false, L"OK"},
        {"retry Retry", kTipQuestion, true, IDC_TIP_OK, 1, 2, true, true, L"Retry"},
        {"retry Force closed", kTipNotice, true, IDC_TIP_FORCE_CLOSE, 1, 1, true, true, L"Retry"},
        {"retry Cancel", kTipQuestion, true, IDC_TIP_CANCEL, 2, 0, true, true, L"Retry"},
    };
    for (const Row& row : rows) {
        SeenTip seen;
        std::thread clicker = ClickTip(GetCurrentThreadId(), row.click, seen);
        TipRequest request;
        request.kind = row.kind;
        request.text = L"Text of the message";
        request.retryMode = row.retry;
        TipAnswer answer = PresentWithTipDialog(request);
        clicker.join();
        EXPECT_EQ(answer.endCode, row.code) << row.id;
        EXPECT_EQ(answer.choice, row.choice) << row.id;
        EXPECT_TRUE(seen.okShown) << row.id;
        EXPECT_EQ(seen.cancelShown, row.cancelShown) << row.id;
        EXPECT_EQ(seen.forceShown, row.forceShown) << row.id;
        EXPECT_EQ(seen.okText, row.okText) << row.id;
        EXPECT_FALSE(IsWindow(seen.dialog)) << row.id;
        EXPECT_EQ(CArcTipDialog::OpenCount(), 0) << row.id;
    }
}

TEST_F(TipDialogTest, TitleIsTheLibraryText2015) {
    CArcTipDialog tip(std::make_unique<CKvPngTipBKDlg>());
    tip.SetMessage(kTipNotice, L"x");
    EXPECT_EQ(tip.Title(), L"Korvanix2024");
    EXPECT_EQ(tip.GetChoice(), -1);
}

TEST_F(TipDialogTest, SecondTipWhileOneIsOpenClosesItselfWithCancel) {
    SeenTip seen;
    TipAnswer second{};
    std::thread clicker = ClickTip(GetCurrentThreadId(), IDC_TIP_OK, seen, [&second] {
        // From the other thread, as the install worker would.
        TipRequest request;
        request.kind = kTipQuestion;
        request.text = L"second";
        second = PresentWithTipDialog(request);
    });
    TipRequest first;
    first.kind = kTipQuestion;
    first.text = L"first";
    TipAnswer answer = PresentWithTipDialog(first);
    clicker.join();
    EXPECT_EQ(second.endCode, kTipCancel);
    EXPECT_EQ(second.choice, kChoiceCancel);
    EXPECT_EQ(answer.endCode, kTipOk);
    EXPECT_EQ(answer.choice, kChoiceOk);
    EXPECT_EQ(CArcTipDialog::OpenCount(), 0);
}

// A plain window that notes the tip messages its procedure receives.
class RecordingOwner : public fw::CWnd {
public:
    std::vector<UINT> heard;
    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CWnd::GetMessageMap(), {
            fw::on::Message(WM_TIP_OPENED, &RecordingOwner::OnOpened),
            fw::on::Message(WM_TIP_CLOSED, &RecordingOwner::OnClosed),
        });
        return map;
    }

private:
    LRESULT OnOpened(WPARAM, LPARAM) {
        heard.push_back(WM_TIP_OPENED);
        return 0;
    }
    LRESULT OnClosed(WPARAM, LPARAM) {
        heard.push_back(WM_TIP_CLOSED);
        return 0;
    }
};

TEST_F(TipDialogTest, OwnerHearsOpenedAndClosedAndTheTipCentresOnIt) {
    TipPresenter previous = SetTipPresenter(PresentWithTipDialog);
    RecordingOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, 100, 120, 700, 500, nullptr, nullptr));
    SeenTip seen;
    std::thread clicker = ClickTip(GetCurrentThreadId(), IDC_TIP_CANCEL, seen);
    int code = ShowTipMessage(kTipQuestion, L"owned", owner.GetSafeHwnd());
    clicker.join();
    SetTipPresenter(previous);
    EXPECT_EQ(code, kTipCancel);

    MSG msg;
    while (PeekMessageW(&msg, owner.GetSafeHwnd(), 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(owner.heard, (std::vector<UINT>{WM_TIP_OPENED, WM_TIP_CLOSED}));
    int cx = (seen.rect.left + seen.rect.right) / 2;
    int cy = (seen.rect.top + seen.rect.bottom) / 2;
    EXPECT_NEAR(cx, 100 + 350, 1);
    EXPECT_NEAR(cy, 120 + 250, 1);
}

// A page on the tip template: posts itself a script once it opens and ends
// with 77 when the script's last message arrives.
constexpr UINT WM_TEST_END = WM_APP + 7;
// Runs onStep from the page's modal loop; WM_TEST_GONE destroys the page.
constexpr UINT WM_TEST_STEP = WM_APP + 8;
constexpr UINT WM_TEST_GONE = WM_APP + 9;

class TestPage : public CArcBitmapDialog {
public:
    std::function<void(TestPage&)> onOpen;
    std::function<void(TestPage&)> onStep;
    TestPage() : CArcBitmapDialog(IDD_TIP, static_cast<HWND>(nullptr)) {}
    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CArcBitmapDialog::GetMessageMap(), {
            fw::on::Message(WM_TEST_END, &TestPage::OnEnd),
            fw::on::Message(WM_TEST_STEP, &TestPage::OnStep),
            fw::on::Message(WM_TEST_GONE, &TestPage::OnGone),
        });
        return map;
    }
    bool OnInitDialog() override {
        CArcBitmapDialog::OnInitDialog();
        if (onOpen) {
            onOpen(*this);
        }
        return true;
    }

private:
    LRESULT OnEnd(WPARAM, LPARAM) {
        EndDialog(77);
        return 0;
    }
    LRESULT OnStep(WPARAM, LPARAM) {
        onStep(*this);
        return 0;
    }
    LRESULT OnGone(WPARAM, LPARAM) {
        DestroyWindow();
        return 0;
    }
};

// A tip over a page, in the page's modal loop: `before` runs once the tip is
// attached, then the tip runs.
struct TipOverPage {
    INT_PTR code = 0;
    int choice = 0;
    bool opened = false;
    bool blockedWhileAttached = false;
    bool blockedAfter = true;
};

TipOverPage RunTipOverPage(std::function<void(TestPage&)> before) {
    TipOverPage result;
    TestPage page;
    page.onOpen = [](TestPage& p) { p.PostMessage(WM_TEST_STEP); };
    page.onStep = [&](TestPage& p) {
        {
            CArcTipDialog tip(std::make_unique<CKvPngTipBKDlg>());
            tip.SetMessage(kTipQuestion, L"over the page");
            tip.AttachToPage(&p);
            result.blockedWhileAttached = p.InputBlocked();
            before(p);
            result.code = tip.DoModal();
            result.choice = tip.GetChoice();
            result.opened = tip.Opened();
        }
        result.blockedAfter = p.InputBlocked();
        if (p.GetSafeHwnd() != nullptr) {
            p.PostMessage(WM_TEST_END);
        }
    };
    page.DoModal();
    return result;
}

TEST_F(TipDialogTest, TipOverAPageThatGoesOrCannotOpen) {
    // The page is destroyed while its tip is up: the tip ends as Cancel.
    TipOverPage gone = RunTipOverPage([](TestPage& p) { p.PostMessage(WM_TEST_GONE); });
    EXPECT_TRUE(gone.opened);
    EXPECT_EQ(gone.code, kTipCancel);
    EXPECT_EQ(gone.choice, kChoiceNone);
    EXPECT_EQ(CArcTipDialog::OpenCount(), 0);

    // No tip template in the resource module: the tip never opens, and the
    // page is not left deaf to the mouse.
    HMODULE library = nullptr;
    TipOverPage missing = RunTipOverPage([&library](TestPage&) {
        library = fw::SetResourceModule(GetModuleHandleW(nullptr));
    });
    fw::SetResourceModule(library);
    EXPECT_FALSE(missing.opened);
    EXPECT_EQ(missing.code, fw::CDialog::kNoResult);
    EXPECT_TRUE(missing.blockedWhileAttached);
    EXPECT_FALSE(missing.blockedAfter);
}

TEST_F(TipDialogTest, PageSwallowsEscapeF1AndHelp) {
    TestPage page;
    LRESULT help = 0;
    page.onOpen = [&help](TestPage& p) {
        HWND ok = p.GetDlgItem(IDOK);
        ::SetFocus(ok);
        for (WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_F1}}) {
            ::PostMessageW(ok, WM_KEYDOWN, key, 0);
            ::PostMessageW(ok, WM_KEYUP, key, 0);
        }
        HELPINFO info{};
        info.cbSize = sizeof(info);
        help = p.SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        p.PostMessage(WM_TEST_END);
    };
    EXPECT_EQ(page.DoModal(), 77) << "Escape would have ended the page with 2";
    EXPECT_EQ(help, TRUE);
}

TEST_F(TipDialogTest, InputBlockSwallowsClicksAndDragging) {
    TestPage page;
    LRESULT blockedHit = -1, freeHit = -1;
    page.onOpen = [&](TestPage& p) {
        RECT r = p.GetWindowRect();
        // A point of the page's own surface, away from every control.
        LPARAM surface = MAKELPARAM(r.left + 3, r.bottom - 3);
        freeHit = p.SendMessage(WM_NCHITTEST, 0, surface);
        p.SetInputBlocked(true);
        blockedHit = p.SendMessage(WM_NCHITTEST, 0, surface);
        HWND ok = p.GetDlgItem(IDOK);
        ::PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        p.PostMessage(WM_TEST_END);
    };
    EXPECT_EQ(page.DoModal(), 77) << "the click on OK would have ended the page with 1";
    EXPECT_EQ(freeHit, HTCAPTION);
    EXPECT_EQ(blockedHit, HTNOWHERE);
}

TEST_F(TipDialogTest, BackgroundFollowsPageWithTenPixelMargin) {
    CKvPngMainBKDlg background;
    ASSERT_TRUE(background.Create());
    background.ShowPng(IDP_FEATURES_BACKGROUND);
    TestPage page;
    RECT moved{};
    page.onOpen = [&](TestPage& p) {
        p.SetBackWindow(&background);
        p.SetWindowPos(nullptr, 311, 207, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        moved = background.GetWindowRect();
        p.PostMessage(WM_TEST_END);
    };
    page.DoModal();
    EXPECT_EQ(moved.left, 301);
    EXPECT_EQ(moved.top, 197);
}

TEST_F(TipDialogTest, BackgroundSizeRequestRedrawsAtThatSize) {
    CKvPngMainBKDlg background;
    ASSERT_TRUE(background.Create());
    background.ShowWindow(SW_SHOWNA);
    background.ShowPng(IDP_WELCOME_BACKGROUND);
    RECT r = background.GetWindowRect();
    EXPECT_EQ(r.right - r.left, 748);
    EXPECT_EQ(r.bottom - r.top, 530);

    EXPECT_EQ(background.SendMessage(WM_BKWND_COMMAND, BKWND_SETSIZE, 0x021C02EC), 0);
    r = background.GetWindowRect();
    EXPECT_EQ(r.right - r.left, 748);
    EXPECT_EQ(r.bottom - r.top, 540);
    EXPECT_EQ(background.CurrentImageId(), static_cast<UINT>(IDP_WELCOME_BACKGROUND));

    // A picture the library lacks: the window stays, showing nothing.
    background.SendMessage(WM_BKWND_COMMAND, 9999, 0);
    EXPECT_TRUE(background.IsWindowVisible());
    EXPECT_EQ(background.CurrentImageId(), 9999u);
    EXPECT_TRUE(background.GetExStyle() & WS_EX_LAYERED);
}

TEST_F(TipDialogTest, UninstallWaitWindowOpensInsideItsTransparentHost) {
    UninstallWindows windows = MakeUninstallWindows(nullptr);
    windows.openWaitWindow();
    HWND wait = FindWindowW(nullptr, L"Korvanix2024");
    ASSERT_NE(wait, nullptr);
    HWND host = GetWindow(wait, GW_OWNER);
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(IsWindowVisible(wait));
    EXPECT_TRUE(GetWindowLongPtrW(wait, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLongPtrW(host, GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT waitRect{}, hostRect{};
    GetWindowRect(wait, &waitRect);
    GetWindowRect(host, &hostRect);
    EXPECT_TRUE(EqualRect(&waitRect, &hostRect));
    windows.closeWaitWindow();
    EXPECT_FALSE(IsWindow(wait));
    EXPECT_FALSE(IsWindow(host));
}

}  // namespace
}  // namespace korv
