// The tip dialog and the skinned page base with real windows: a second
// thread finds the dialog once it is on screen, reads it and clicks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

#include "framework/SharedFonts.h"
#include "session/LocalText.h"
#include "session/ProgressMessages.h"
#include "pages/TipDialog.h"
#include "pages/UninstallWait.h"
#include "resource.h"
#include "skin/Dpi.h"
#include "skin/SkinTestSupport.h"

namespace korv {
namespace {

using test::Hex;

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

// Set by TipDialogAtHighDpi for the run of these tests it starts at
// another DPI: they then first make sure that DPI is really in effect.
int ExpectedDpi() {
    wchar_t value[16] = {};
    if (GetEnvironmentVariableW(L"KORV_EXPECT_DPI", value, static_cast<DWORD>(std::size(value))) == 0) {
        return 0;
    }
    return _wtoi(value);
}

class TipDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(environment.Loaded());
        if (int dpi = ExpectedDpi()) {
            HDC screen = GetDC(nullptr);
            int actual = GetDeviceCaps(screen, LOGPIXELSX);
            ReleaseDC(nullptr, screen);
            ASSERT_EQ(actual, dpi) << "the prefix's LogPixels did not reach this process";
        }
    }
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

TEST_F(TipDialogTest, FocusStartsOnOkOrRetryAndSpaceAnswersIt) {
    // One press of Space right after the message opens must never end every
    // running korv.exe (Force closed) or refuse a question (Cancel).
    struct Row {
        const char* id;
        int kind;
        bool retry;
    } rows[] = {
        {"notice", kTipNotice, false},
        {"question", kTipQuestion, false},
        {"retry mode", kTipQuestion, true},
    };
    for (const Row& row : rows) {
        DWORD ui = GetCurrentThreadId();
        int focusedId = -1;
        std::thread presser([ui, &focusedId] {
            HWND tip = nullptr;
            while ((tip = FindVisibleTip(ui)) == nullptr) {
                Sleep(10);
            }
            GUITHREADINFO info{};
            info.cbSize = sizeof(info);
            GetGUIThreadInfo(ui, &info);
            focusedId = info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : 0;
            HWND target = info.hwndFocus != nullptr ? info.hwndFocus : tip;
            PostMessageW(target, WM_KEYDOWN, VK_SPACE, 0x00390001);
            PostMessageW(target, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001));
            // Space on a dialog without a focused button does nothing: end it
            // with Cancel rather than leave the test waiting.
            for (int i = 0; i < 300 && IsWindow(tip); ++i) {
                Sleep(10);
            }
            if (IsWindow(tip)) {
                PostMessageW(tip, WM_COMMAND, MAKEWPARAM(IDC_TIP_CANCEL, BN_CLICKED), 0);
            }
        });
        TipRequest request;
        request.kind = row.kind;
        request.retryMode = row.retry;
        request.text = L"Korvanix is running, please close the application and then try again.";
        TipAnswer answer = PresentWithTipDialog(request);
        presser.join();
        EXPECT_EQ(focusedId, IDC_TIP_OK) << row.id;
        EXPECT_EQ(answer.endCode, kTipOk) << row.id;
        EXPECT_EQ(answer.choice, kChoiceOk) << row.id;
    }
}

// What the test sees of an open tip dialog, in screen coordinates.
struct TipGeometry {
    RECT tip{}, card{}, message{}, ok{}, workArea{};
    int messageClientWidth = 0, messageClientHeight = 0;
};

TipGeometry MeasureTip(HWND tip) {
    TipGeometry g;
    GetWindowRect(tip, &g.tip);
    GetWindowRect(GetWindow(tip, GW_OWNER), &g.card);
    GetWindowRect(GetDlgItem(tip, IDC_TIP_MESSAGE), &g.message);
    GetWindowRect(GetDlgItem(tip, IDC_TIP_OK), &g.ok);
    RECT client{};
    GetClientRect(GetDlgItem(tip, IDC_TIP_MESSAGE), &client);
    g.messageClientWidth = client.right;
    g.messageClientHeight = client.bottom;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(tip, MONITOR_DEFAULTTONEAREST), &monitor);
    g.workArea = monitor.rcWork;
    return g;
}

// The height the message text needs at `width`, in the message's font.
int MessageTextHeight(const std::wstring& text, int width) {
    LOGFONTW description{};
    fw::GetSharedFontDescription(fw::SharedFont::Regular, description);
    description.lfHeight = ScaleToDpi(18);
    HFONT font = CreateFontIndirectW(&description);
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return r.bottom;
}

TEST_F(TipDialogTest, TheMessageFitsAndTheCardFramesTheTip) {
    std::wstring eightLines;
    for (int i = 1; i <= 8; ++i) {
        eightLines += L"Line " + std::to_wstring(i) + L" of a message that needs its room.\n";
    }
    RecordingOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, 100, 120, 700, 500, nullptr, nullptr));
    struct Row {
        const char* id;
        std::wstring text;
        HWND owner;
    } rows[] = {
        {"short notice", L"Done.", nullptr},
        {"text 2002", LoadText(IDS_DISK_SPACE_QUERY_FAILED, L""), nullptr},
        {"confirm uninstall, owned", LoadText(IDS_CONFIRM_UNINSTALL, L""), owner.GetSafeHwnd()},
        {"eight lines, owned", eightLines, owner.GetSafeHwnd()},
    };
    const int margin = ScaleToDpi(40);
    for (const Row& row : rows) {
        ASSERT_FALSE(row.text.empty()) << row.id;
        TipGeometry g;
        SeenTip seen;
        std::thread clicker = ClickTip(GetCurrentThreadId(), IDC_TIP_OK, seen, [&g, &seen] { g = MeasureTip(seen.dialog); });
        TipRequest request;
        request.kind = kTipNotice;
        request.text = row.text;
        request.owner = row.owner;
        PresentWithTipDialog(request);
        clicker.join();

        EXPECT_GE(g.messageClientHeight, MessageTextHeight(row.text, g.messageClientWidth)) << row.id << ": text cut";
        EXPECT_GE(g.ok.top, g.message.bottom) << row.id << ": buttons below the message";
        EXPECT_LE(g.ok.bottom, g.tip.bottom) << row.id << ": buttons inside the tip";
        RECT framed = g.tip;
        InflateRect(&framed, margin, margin);
        EXPECT_TRUE(EqualRect(&framed, &g.card))
            << row.id << ": card (" << g.card.left << "," << g.card.top << ")-(" << g.card.right << ","
            << g.card.bottom << ") around tip (" << g.tip.left << "," << g.tip.top << ")-(" << g.tip.right << ","
            << g.tip.bottom << ") with margin " << margin;
        EXPECT_GE(g.tip.top, g.workArea.top) << row.id;
        EXPECT_LE(g.tip.bottom, g.workArea.bottom) << row.id;
    }
}

TEST_F(TipDialogTest, TheTipIsDrawnOverItsCardNotOverTheColourKey) {
    SeenTip seen;
    RECT client{}, message{};
    std::unique_ptr<test::PixelCanvas> canvas;
    std::thread clicker = ClickTip(GetCurrentThreadId(), IDC_TIP_CANCEL, seen, [&] {
        RedrawWindow(seen.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GetClientRect(seen.dialog, &client);
        GetWindowRect(GetDlgItem(seen.dialog, IDC_TIP_MESSAGE), &message);
        MapWindowPoints(nullptr, seen.dialog, reinterpret_cast<POINT*>(&message), 2);
        canvas = std::make_unique<test::PixelCanvas>(client.right, client.bottom, RGB(1, 2, 3));
        test::CaptureClient(seen.dialog, *canvas);
    });
    TipRequest request;
    request.kind = kTipQuestion;
    request.retryMode = true;
    request.text = LoadText(IDS_CONFIRM_UNINSTALL, L"");
    PresentWithTipDialog(request);
    clicker.join();
    ASSERT_TRUE(canvas);

    // The card's rounded corners (radius 12, and a pixel of their soft
    // edge) are the only see-through part: anything else of the colour key
    // shows whatever lies behind (a compositor's shadow of the dialog, for
    // one), and anti-aliased edges blended with the key show a lilac fringe.
    const int corner = ScaleToDpi(12) + 2;
    int keyPixels = 0, tintedInMessage = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            bool inCorner = (x < corner || x >= client.right - corner) && (y < corner || y >= client.bottom - corner);
            COLORREF c = canvas->At(x, y);
            if (!inCorner && c == CArcBitmapDialog::kColorKey) {
                ++keyPixels;
            }
            POINT p{x, y};
            if (PtInRect(&message, p) &&
                (std::abs(GetRValue(c) - GetBValue(c)) > 3 || std::abs(GetGValue(c) - GetBValue(c)) > 3)) {
                ++tintedInMessage;  // grey text on a white card blends to greys only
            }
        }
    }
    EXPECT_EQ(keyPixels, 0);
    EXPECT_EQ(tintedInMessage, 0);
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

TEST_F(TipDialogTest, PageSurfaceFollowsItsBackgroundPicture) {
    CKvPngMainBKDlg background;
    ASSERT_TRUE(background.Create());
    background.ShowWindow(SW_SHOWNA);
    background.ShowPng(IDP_WELCOME_BACKGROUND);
    CArcBitmapDialog page(IDD_TIP, static_cast<HWND>(nullptr));
    ASSERT_TRUE(page.Create(IDD_TIP, static_cast<HWND>(nullptr)));
    page.SetBackWindow(&background);
    page.ShowWindow(SW_SHOWNA);
    // The background follows 10 pixels around the page: page row 176 is
    // picture row 186, below the welcome picture's blue band (170 high from
    // row 10) and inside the slides' (320 high).
    page.SetWindowPos(nullptr, 333, 222, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = page.GetClientRect();
    test::PixelCanvas canvas(client.right, client.bottom, RGB(1, 2, 3));
    const COLORREF blue = RGB(22, 93, 255);
    struct Row {
        const char* id;
        UINT picture;
        COLORREF atRow176;
    } rows[] = {
        {"welcome picture", IDP_WELCOME_BACKGROUND, RGB(255, 255, 255)},
        {"slide 1", IDP_SLIDE_1, blue},
        {"back to the welcome picture", IDP_WELCOME_BACKGROUND, RGB(255, 255, 255)},
    };
    for (const Row& row : rows) {
        background.SendMessage(WM_BKWND_COMMAND, row.picture, 0);
        test::PumpAndPaint(page.GetSafeHwnd());
        test::CaptureClient(page.GetSafeHwnd(), canvas);
        EXPECT_EQ(Hex(canvas.At(20, 176)), Hex(row.atRow176)) << row.id;
        EXPECT_EQ(Hex(canvas.At(20, 100)), Hex(blue)) << row.id << ": inside both bands";
    }

    // A plain static across the welcome band's lower edge, its text set and
    // cleared: it shows the page's picture again, row for row as the page
    // shows it beside the static.
    fw::CStatic plain;
    ASSERT_TRUE(plain.Create(L"", WS_VISIBLE | SS_LEFT, RECT{10, 160, 120, 180}, page.GetSafeHwnd()));
    for (const wchar_t* text : {L"WWWWWWWW", L""}) {
        plain.SetWindowText(text);
        test::PumpAndPaint(page.GetSafeHwnd());
    }
    test::CaptureClient(page.GetSafeHwnd(), canvas);
    EXPECT_EQ(Hex(canvas.At(5, 160)), Hex(blue)) << "the band's edge lies inside the static";
    EXPECT_EQ(Hex(canvas.At(5, 179)), Hex(RGB(255, 255, 255))) << "the band's edge lies inside the static";
    for (int y = 160; y < 180; ++y) {
        EXPECT_EQ(Hex(canvas.At(60, y)), Hex(canvas.At(5, y))) << "plain static, row " << y;
    }
    page.DestroyWindow();
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

// The same layout at 120 dpi, as a person with a larger text setting sees
// it: the prefix's LogPixels is set for a second run of the layout tests in
// a process of their own (the system DPI is read when a process starts),
// then put back. ctest runs this test alone (RUN_SERIAL): no other test may
// start while the prefix says 120.
TEST(TipDialogAtHighDpi, TheTipLaysOutAt120Dpi) {
    HKEY desktop = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                              nullptr, &desktop, nullptr),
              ERROR_SUCCESS);
    DWORD previous = 0, size = sizeof(previous), type = 0;
    bool hadValue = RegQueryValueExW(desktop, L"LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&previous),
                                     &size) == ERROR_SUCCESS && type == REG_DWORD;
    DWORD dpi = 120;
    RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));

    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_filter=TipDialogTest.FocusStartsOnOkOrRetryAndSpaceAnswersIt:"
                           L"TipDialogTest.TheMessageFitsAndTheCardFramesTheTip:"
                           L"TipDialogTest.TheTipIsDrawnOverItsCardNotOverTheColourKey";
    SetEnvironmentVariableW(L"KORV_EXPECT_DPI", L"120");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessW(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(L"KORV_EXPECT_DPI", nullptr);
    DWORD exitCode = 1;
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    if (hadValue) {
        RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous), sizeof(previous));
    } else {
        RegDeleteValueW(desktop, L"LogPixels");
    }
    RegCloseKey(desktop);
    ASSERT_TRUE(started) << "error " << GetLastError();
    EXPECT_EQ(exitCode, 0u) << "the layout tests failed at 120 dpi (their output is above)";
}

}  // namespace
}  // namespace korv
