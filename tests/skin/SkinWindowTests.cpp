// The skin's controls and dialog bases in real windows on the test display:
// controls made at run time, texts that change over a page, the size grip.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "resource.h"
#include "skin/Buttons.h"
#include "skin/Labels.h"
#include "skin/SkinDialogs.h"
#include "skin/SkinTestSupport.h"

namespace korv {
namespace {

using test::Hex;
using test::PixelCanvas;

class SkinWindows : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(environment.Loaded()); }
    test::SkinEnvironment environment;
};

// A page from the tip template, modeless and shown: its controls come from
// the template, and its surface is the colour key, as on every page.
class ShownPage {
public:
    ShownPage() {
        created_ = page.Create(IDD_TIP, static_cast<HWND>(nullptr));
        if (created_) {
            page.ShowWindow(SW_SHOWNA);
        }
    }
    bool Created() const { return created_; }
    HWND Hwnd() const { return page.GetSafeHwnd(); }
    HFONT Font() const { return page.GetFont(); }

    CArcBitmapDialog page{IDD_TIP, static_cast<HWND>(nullptr)};

private:
    bool created_ = false;
};

TEST_F(SkinWindows, RunTimeControlsAreSetUpLikeTemplateOnes) {
    ShownPage parent;
    ASSERT_TRUE(parent.Created());
    ASSERT_NE(parent.Font(), nullptr) << "the template sets a font";

    // The welcome page makes its package boxes and labels at run time,
    // with ids 3001+i and 4001+i.
    CKorvShadeButtonST templateBox, runtimeBox;
    ASSERT_TRUE(templateBox.SubclassDlgItem(IDC_TIP_CANCEL, parent.Hwnd()));
    ASSERT_TRUE(runtimeBox.Create(L"Package", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, RECT{10, 130, 200, 154},
                                  parent.Hwnd(), 3001));
    CLabelEx templateLabel, runtimeLabel;
    ASSERT_TRUE(templateLabel.SubclassDlgItem(IDC_TIP_TITLE, parent.Hwnd()));
    ASSERT_TRUE(runtimeLabel.Create(L"Description", WS_VISIBLE | SS_LEFT, RECT{210, 130, 400, 154}, parent.Hwnd(),
                                    4001));

    struct BoxRow {
        const char* id;
        CKorvShadeButtonST* box;
    } boxes[] = {{"template box", &templateBox}, {"run-time box", &runtimeBox}};
    for (const BoxRow& row : boxes) {
        EXPECT_EQ(row.box->GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW)) << row.id;
        EXPECT_EQ(row.box->GetFont(), parent.Font()) << row.id;
        // The unchecked icon is a white box with a grey edge, 16 pixels at
        // 96 dpi, at the left, vertically centred.
        PixelCanvas canvas(190, 24, RGB(1, 2, 3));
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = row.box->GetSafeHwnd();
        item.hDC = canvas.Dc();
        item.rcItem = canvas.Rect();
        row.box->DrawBox(item);
        EXPECT_EQ(Hex(canvas.At(8, 12)), Hex(RGB(255, 255, 255))) << row.id << ": the box icon is drawn";
    }

    struct LabelRow {
        const char* id;
        CLabelEx* label;
    } labels[] = {{"template label", &templateLabel}, {"run-time label", &runtimeLabel}};
    for (const LabelRow& row : labels) {
        EXPECT_EQ(row.label->GetFont(), parent.Font()) << row.id;
        EXPECT_NE(row.label->GetStyle() & SS_NOTIFY, 0u) << row.id << ": the page hears its clicks";
    }
}

// How many pixels of `r` (client coordinates of the page) differ from the
// page's surface colour.
int PixelsOffSurface(const PixelCanvas& canvas, const RECT& r, COLORREF surface) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            count += canvas.At(x, y) != surface ? 1 : 0;
        }
    }
    return count;
}

TEST_F(SkinWindows, ChangingATextRedrawsThePageBehindIt) {
    ShownPage parent;
    ASSERT_TRUE(parent.Created());
    CLabelEx label;
    ASSERT_TRUE(label.SubclassDlgItem(IDC_TIP_TITLE, parent.Hwnd()));
    CKorvStatic statik;
    ASSERT_TRUE(statik.SubclassDlgItem(IDC_TIP_MESSAGE, parent.Hwnd()));
    statik.SetTextStyle(18, RGB(77, 77, 77));
    // A static the page leaves to the system, as the copy-progress page
    // does with several.
    fw::CStatic plain;
    ASSERT_TRUE(plain.Create(L"", WS_VISIBLE | SS_LEFT, RECT{20, 130, 200, 150}, parent.Hwnd()));

    struct Row {
        const char* id;
        HWND control;
        std::function<void(const wchar_t*)> setText;
    } rows[] = {
        {"label", label.GetSafeHwnd(), [&label](const wchar_t* text) { label.SetWindowText(text); }},
        {"owner-drawn static", statik.GetSafeHwnd(),
         [&statik](const wchar_t* text) {
             statik.SetText(text);
             statik.Invalidate();
         }},
        {"plain static", plain.GetSafeHwnd(), [&plain](const wchar_t* text) { plain.SetWindowText(text); }},
    };
    RECT client = parent.page.GetClientRect();
    PixelCanvas canvas(client.right, client.bottom, RGB(1, 2, 3));
    for (const Row& row : rows) {
        RECT area{};
        GetWindowRect(row.control, &area);
        MapWindowPoints(nullptr, parent.Hwnd(), reinterpret_cast<POINT*>(&area), 2);

        row.setText(L"WWWWWWWWWWWW");
        test::PumpAndPaint(parent.Hwnd());
        test::CaptureClient(parent.Hwnd(), canvas);
        // The corner of the page holds no control: the surface colour.
        COLORREF surface = canvas.At(2, client.bottom - 2);
        EXPECT_GT(PixelsOffSurface(canvas, area, surface), 20) << row.id << ": the first text shows";

        row.setText(L"");
        test::PumpAndPaint(parent.Hwnd());
        test::CaptureClient(parent.Hwnd(), canvas);
        EXPECT_EQ(PixelsOffSurface(canvas, area, surface), 0) << row.id << ": no glyph of the old text is left";
    }
}

TEST_F(SkinWindows, SizeGripAnswersAsSizeGrip) {
    CXResizingDialog page(IDD_TIP, static_cast<HWND>(nullptr));
    ASSERT_TRUE(page.Create(IDD_TIP, static_cast<HWND>(nullptr)));
    page.ShowWindow(SW_SHOWNA);
    test::PumpAndPaint(page.GetSafeHwnd());
    RECT r = page.GetWindowRect();
    struct Row {
        const char* id;
        bool blocked;
        POINT point;
        LRESULT expected;
    } rows[] = {
        {"grip corner", false, {r.right - 2, r.bottom - 2}, HTBOTTOMRIGHT},
        {"inside the grip", false, {r.right - GetSystemMetrics(SM_CXHSCROLL) + 1, r.bottom - 1}, HTBOTTOMRIGHT},
        {"surface beside the grip", false, {r.right - GetSystemMetrics(SM_CXHSCROLL) - 2, r.bottom - 2}, HTCAPTION},
        {"surface at the left", false, {r.left + 3, r.bottom - 3}, HTCAPTION},
        {"grip while input is blocked", true, {r.right - 2, r.bottom - 2}, HTNOWHERE},
    };
    for (const Row& row : rows) {
        page.SetInputBlocked(row.blocked);
        EXPECT_EQ(page.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(row.point.x, row.point.y)), row.expected) << row.id;
    }
    page.SetInputBlocked(false);
    page.DestroyWindow();
}

// Mouse input as a person gives it, from another thread, in screen pixels.
void MouseTo(int x, int y, DWORD flags = 0) {
    SetCursorPos(x, y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags != 0) {
        SendInput(1, &input, sizeof(input));
    }
    Sleep(50);
}

TEST_F(SkinWindows, DraggingTheGripResizesThePage) {
    CXResizingDialog page(IDD_TIP, static_cast<HWND>(nullptr));
    ASSERT_TRUE(page.Create(IDD_TIP, static_cast<HWND>(nullptr)));
    page.SetWindowPos(nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    page.ShowWindow(SW_SHOW);
    test::PumpAndPaint(page.GetSafeHwnd());
    RECT before = page.GetWindowRect();

    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread person([before, done] {
        int x = before.right - 3, y = before.bottom - 3;
        MouseTo(x, y);
        MouseTo(x, y, MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 6; ++step) {
            MouseTo(x + 10 * step, y + 5 * step);
        }
        MouseTo(x + 60, y + 30, MOUSEEVENTF_LEFTUP);
        Sleep(100);
        SetEvent(done);
    });
    // The sizing loop runs inside this thread's message handling.
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        test::PumpAndPaint(page.GetSafeHwnd());
    }
    person.join();
    CloseHandle(done);
    test::PumpAndPaint(page.GetSafeHwnd());
    RECT after = page.GetWindowRect();
    page.DestroyWindow();

    EXPECT_EQ(after.left, before.left) << "the page was moved, not sized";
    EXPECT_EQ(after.top, before.top) << "the page was moved, not sized";
    EXPECT_EQ(after.right - before.right, 60);
    EXPECT_EQ(after.bottom - before.bottom, 30);
}

}  // namespace
}  // namespace korv
