#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameworkTestSupport.h"

using fwtest::ScriptedDialog;

namespace {

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(resources_.Loaded()) << "framework_test_res.dll beside the test program"; }
    fwtest::TestResources resources_;
};

// What the handlers saw, recorded only while a test action runs (painting
// and focus changes around it would add noise).
struct Log {
    bool on = false;
    std::vector<std::string> lines;
    void Add(const std::string& line) {
        if (on) {
            lines.push_back(line);
        }
    }
};

// Runs `action` on a shown dialog with the log on, then ends the dialog.
template <class Dialog>
std::vector<std::string> RunAction(Log& log, const std::function<void(Dialog&)>& action) {
    log.lines.clear();
    Dialog dialog(log, std::vector<ScriptedDialog::Step>{
                           [&](ScriptedDialog& d) {
                               log.on = true;
                               action(static_cast<Dialog&>(d));
                               log.on = false;
                           },
                           [](ScriptedDialog& d) { d.EndDialog(IDOK); },
                       });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    return log.lines;
}

void ClickAll(ScriptedDialog& d, UINT first, UINT last) {
    for (UINT id = first; id <= last; ++id) {
        SendMessageW(d.GetDlgItem(static_cast<int>(id)), BM_CLICK, 0, 0);
    }
}

class RangeDialog : public ScriptedDialog {
public:
    RangeDialog(Log& log, std::vector<Step> steps) : ScriptedDialog(std::move(steps)), log_(log) {}

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(ScriptedDialog::GetMessageMap(), {
            fw::on::CommandRange(IDC_RANGE_2, IDC_RANGE_4, &RangeDialog::OnRange),
        });
        return map;
    }

protected:
    void OnRange(UINT id) { log_.Add("range " + std::to_string(id)); }
    Log& log_;
};

class DerivedRangeDialog : public RangeDialog {
public:
    using RangeDialog::RangeDialog;

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(RangeDialog::GetMessageMap(), {
            fw::on::Command(IDC_RANGE_3, &DerivedRangeDialog::OnThree),
        });
        return map;
    }

private:
    void OnThree() { log_.Add("derived 3"); }
};

}  // namespace

TEST_F(MessageMapTest, CommandRangeTakesTheIdsInsideItAndDerivedEntriesComeFirst) {
    Log log;
    auto clicks = [](ScriptedDialog& d) { ClickAll(d, IDC_RANGE_1, IDC_RANGE_5); };
    std::vector<std::string> base = RunAction<RangeDialog>(log, clicks);
    EXPECT_EQ(base, (std::vector<std::string>{"range 1102", "range 1103", "range 1104"})) << "base class map";
    std::vector<std::string> derived = RunAction<DerivedRangeDialog>(log, clicks);
    EXPECT_EQ(derived, (std::vector<std::string>{"range 1102", "derived 3", "range 1104"}))
        << "derived map over the base's range";
}

namespace {

// A check box whose class sees its clicks first and lets the dialog see them too.
class ReflectingCheck : public fw::CButton {
public:
    explicit ReflectingCheck(Log& log) : log_(log) {}
    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CButton::GetMessageMap(), {
            fw::on::ControlReflect(BN_CLICKED, &ReflectingCheck::OnClicked),
        });
        return map;
    }

private:
    bool OnClicked() {
        log_.Add("check: reflected click, checked " + std::to_string(GetCheck()));
        return false;
    }
    Log& log_;
};

// A button whose class keeps its clicks.
class KeepingButton : public fw::CButton {
public:
    explicit KeepingButton(Log& log) : log_(log) {}
    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CButton::GetMessageMap(), {
            fw::on::ControlReflect(BN_CLICKED, &KeepingButton::OnClicked),
        });
        return map;
    }

private:
    void OnClicked() { log_.Add("button: reflected click"); }
    Log& log_;
};

class DrawnButton : public fw::CBitmapButton {
public:
    explicit DrawnButton(Log& log) : log_(log) {}
    void DrawItem(const DRAWITEMSTRUCT& item) override { log_.Add("drawn: DrawItem " + std::to_string(item.CtlID)); }

private:
    Log& log_;
};

class ColouredLabel : public fw::CStatic {
public:
    ColouredLabel(Log& log, HBRUSH brush) : log_(log), brush_(brush) {}
    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CStatic::GetMessageMap(), {
            fw::on::CtlColorReflect(&ColouredLabel::CtlColor),
            fw::on::NotifyReflect(NM_CLICK, &ColouredLabel::OnClick),
        });
        return map;
    }

private:
    HBRUSH CtlColor(HDC, UINT type) {
        log_.Add("label: reflected colour " + std::to_string(type));
        return brush_;
    }
    void OnClick(NMHDR*, LRESULT* result) {
        log_.Add("label: reflected notify");
        *result = 5;
    }
    Log& log_;
    HBRUSH brush_;
};

fw::UniqueBrush g_labelBrush(CreateSolidBrush(RGB(1, 2, 3)));
fw::UniqueBrush g_dialogBrush(CreateSolidBrush(RGB(4, 5, 6)));

class ReflectionDialog : public ScriptedDialog {
public:
    ReflectionDialog(Log& log, std::vector<Step> steps)
        : ScriptedDialog(std::move(steps)),
          check_(log),
          button_(log),
          drawn_(log),
          label_(log, g_labelBrush.Get()),
          log_(log) {}

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(ScriptedDialog::GetMessageMap(), {
            fw::on::Command(IDC_CHECK, &ReflectionDialog::OnCheck),
            fw::on::Command(IDC_RANGE_1, &ReflectionDialog::OnButton),
            fw::on::DrawItem(&ReflectionDialog::OnDrawItem),
            fw::on::CtlColor(&ReflectionDialog::OnCtlColor),
            fw::on::Notify(NM_CLICK, IDC_LABEL, &ReflectionDialog::OnLabelNotify),
            fw::on::Notify(NM_CLICK, IDC_PLAIN_LABEL, &ReflectionDialog::OnPlainNotify),
        });
        return map;
    }

protected:
    void DoDataExchange(fw::CDataExchange& dx) override {
        fw::DDX_Control(dx, IDC_CHECK, check_);
        fw::DDX_Control(dx, IDC_RANGE_1, button_);
        fw::DDX_Control(dx, IDC_DRAWN, drawn_);
        fw::DDX_Control(dx, IDC_LABEL, label_);
    }

private:
    void OnCheck() { log_.Add("dialog: check clicked"); }
    void OnButton() { log_.Add("dialog: button clicked"); }
    void OnDrawItem(int id, DRAWITEMSTRUCT*) { log_.Add("dialog: DrawItem " + std::to_string(id)); }
    HBRUSH OnCtlColor(HDC, HWND control, UINT type) {
        // Painting asks for the colours of the other controls too.
        if (control == GetDlgItem(IDC_PLAIN_LABEL) || control == GetDlgItem(IDC_LABEL)) {
            log_.Add("dialog: colour " + std::to_string(GetDlgCtrlIdOf(control)) + " " + std::to_string(type));
            return g_dialogBrush.Get();
        }
        return reinterpret_cast<HBRUSH>(Default());
    }
    static int GetDlgCtrlIdOf(HWND control) { return ::GetDlgCtrlID(control); }
    void OnLabelNotify(NMHDR*, LRESULT* result) {
        log_.Add("dialog: notify label");
        *result = 8;
    }
    void OnPlainNotify(NMHDR*, LRESULT* result) {
        log_.Add("dialog: notify plain");
        *result = 9;
    }

    ReflectingCheck check_;
    KeepingButton button_;
    DrawnButton drawn_;
    ColouredLabel label_;
    Log& log_;
};

std::string BrushName(LRESULT result) {
    auto brush = reinterpret_cast<HBRUSH>(result);
    return brush == g_labelBrush.Get() ? "label brush" : brush == g_dialogBrush.Get() ? "dialog brush" : "other brush";
}

void SendColour(ReflectionDialog& d, Log& log, int id) {
    HDC dc = GetDC(d.GetSafeHwnd());
    LRESULT result = d.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(d.GetDlgItem(id)));
    ReleaseDC(d.GetSafeHwnd(), dc);
    log.Add("result: " + BrushName(result));
}

void SendNotify(ReflectionDialog& d, Log& log, int id) {
    NMHDR header{d.GetDlgItem(id), static_cast<UINT_PTR>(id), static_cast<UINT>(NM_CLICK)};
    LRESULT result = d.SendMessage(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    log.Add("result: " + std::to_string(result));
}

}  // namespace

TEST_F(MessageMapTest, NotificationsReachTheControlsOwnClassBeforeTheDialog) {
    using Lines = std::vector<std::string>;
    struct Case {
        const char* id;
        std::function<void(ReflectionDialog&, Log&)> action;
        Lines expected;
    };
    const Case cases[] = {
        {"check box: its class, then the dialog",
         [](ReflectionDialog& d, Log&) { SendMessageW(d.GetDlgItem(IDC_CHECK), BM_CLICK, 0, 0); },
         {"check: reflected click, checked 1", "dialog: check clicked"}},
        {"button whose class keeps the click",
         [](ReflectionDialog& d, Log&) { SendMessageW(d.GetDlgItem(IDC_RANGE_1), BM_CLICK, 0, 0); },
         {"button: reflected click"}},
        {"owner-drawn button draws itself",
         [](ReflectionDialog& d, Log&) {
             RedrawWindow(d.GetDlgItem(IDC_DRAWN), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
         },
         {"drawn: DrawItem 1201"}},
        {"label whose class gives its colour", [](ReflectionDialog& d, Log& log) { SendColour(d, log, IDC_LABEL); },
         {"label: reflected colour 6", "result: label brush"}},
        {"label without a class: the dialog gives the colour",
         [](ReflectionDialog& d, Log& log) { SendColour(d, log, IDC_PLAIN_LABEL); },
         {"dialog: colour 1204 6", "result: dialog brush"}},
        {"notification the label's class answers", [](ReflectionDialog& d, Log& log) { SendNotify(d, log, IDC_LABEL); },
         {"label: reflected notify", "result: 5"}},
        {"notification of a control without a class",
         [](ReflectionDialog& d, Log& log) { SendNotify(d, log, IDC_PLAIN_LABEL); },
         {"dialog: notify plain", "result: 9"}},
    };
    // One dialog serves every row: each action runs with the log on and
    // its lines are taken before the next.
    Log log;
    std::vector<Lines> seen;
    std::vector<ScriptedDialog::Step> steps;
    for (const Case& c : cases) {
        steps.push_back([&](ScriptedDialog& d) {
            log.lines.clear();
            log.on = true;
            c.action(static_cast<ReflectionDialog&>(d), log);
            log.on = false;
            seen.push_back(log.lines);
        });
    }
    steps.push_back([](ScriptedDialog& d) { d.EndDialog(IDOK); });
    ReflectionDialog dialog(log, steps);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(seen.size(), std::size(cases));
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i], cases[i].expected) << cases[i].id;
    }
}

namespace {

constexpr UINT WM_APP_THROW = WM_APP + 30;
constexpr UINT WM_APP_ANSWER = WM_APP + 31;

class ThrowingWindow : public fw::CWnd {
public:
    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CWnd::GetMessageMap(), {
            fw::on::Message(WM_APP_THROW, &ThrowingWindow::OnThrow),
            fw::on::Message(WM_APP_ANSWER, &ThrowingWindow::OnAnswer),
        });
        return map;
    }

private:
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failure"); }
    LRESULT OnAnswer(WPARAM, LPARAM) { return 7; }
};

}  // namespace

TEST(WindowProcedure, HandlerExceptionStaysInTheThunkAndUnmappedMessagesGetTheDefault) {
    ThrowingWindow window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(window.SendMessage(WM_APP_THROW), 0);
    EXPECT_EQ(window.SendMessage(WM_APP_ANSWER), 7) << "the window still works after a throwing handler";
    window.SetWindowText(L"kept by the default procedure");
    EXPECT_EQ(window.GetWindowText(), L"kept by the default procedure");
    HWND hwnd = window.GetSafeHwnd();
    EXPECT_EQ(fw::CWnd::FromHandlePermanent(hwnd), &window);
    window.DestroyWindow();
    EXPECT_EQ(window.GetSafeHwnd(), nullptr);
    EXPECT_EQ(fw::CWnd::FromHandlePermanent(hwnd), nullptr);
}

namespace {

constexpr UINT WM_APP_CLOSE = WM_APP + 32;

// A window object that goes with its window, closed from its own handler.
class SelfDeletingWindow : public fw::CWnd {
public:
    explicit SelfDeletingWindow(int& deletions) : deletions_(deletions) {}
    ~SelfDeletingWindow() override { ++deletions_; }

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CWnd::GetMessageMap(), {
            fw::on::Message(WM_APP_CLOSE, &SelfDeletingWindow::OnClose),
        });
        return map;
    }

protected:
    void PostNcDestroy() override { delete this; }

private:
    LRESULT OnClose(WPARAM, LPARAM) {
        DestroyWindow();
        return 3;  // nothing of the object may be used from here on
    }
    int& deletions_;
};

}  // namespace

TEST(WindowProcedure, WindowObjectDestroyedFromItsOwnHandlerIsDeletedOnce) {
    int deletions = 0;
    auto* window = new SelfDeletingWindow(deletions);
    ASSERT_TRUE(window->CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hwnd = window->GetSafeHwnd();
    EXPECT_EQ(SendMessageW(hwnd, WM_APP_CLOSE, 0, 0), 3);
    EXPECT_EQ(deletions, 1);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(fw::CWnd::FromHandlePermanent(hwnd), nullptr);
}
