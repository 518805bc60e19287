#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"

using fwtest::ScriptedDialog;

namespace {

constexpr UINT WM_APP_END = WM_APP + 1;
constexpr UINT_PTR kEndTimer = 7;

// Ends itself in one of several ways with a code chosen by the test, or
// leaves the ending to its steps.
class EndingDialog : public ScriptedDialog {
public:
    enum Way { InInitDialog, FromPostedMessage, FromTimer, ByItsSteps };

    EndingDialog(Way way, INT_PTR code, std::vector<Step> steps = {}, HWND parent = nullptr)
        : ScriptedDialog(std::move(steps), parent), way_(way), code_(code) {}

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(ScriptedDialog::GetMessageMap(), {
            fw::on::Message(WM_APP_END, &EndingDialog::OnEnd),
            fw::on::Timer(&EndingDialog::OnTimer),
        });
        return map;
    }

protected:
    bool OnInitDialog() override {
        ScriptedDialog::OnInitDialog();
        if (way_ == InInitDialog) {
            EndDialog(code_);
        } else if (way_ == FromPostedMessage) {
            PostMessage(WM_APP_END);
        } else if (way_ == FromTimer) {
            SetTimer(kEndTimer, 10);
        }
        return true;
    }

private:
    LRESULT OnEnd(WPARAM, LPARAM) {
        EndDialog(code_);
        return 0;
    }
    void OnTimer(UINT_PTR id) {
        if (id == kEndTimer) {
            KillTimer(id);
            EndDialog(code_);
        }
    }

    Way way_;
    INT_PTR code_;
};

class ModalDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(resources_.Loaded()) << "framework_test_res.dll beside the test program"; }
    fwtest::TestResources resources_;
};

// A visible top-level window to own dialogs.
struct OwnerWindow {
    fw::CWnd wnd;
    OwnerWindow() {
        wnd.CreateEx(0, nullptr, L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr);
    }
    HWND Get() const { return wnd.GetSafeHwnd(); }
};

ScriptedDialog::Step Click(int id) {
    return [id](ScriptedDialog& d) { PostMessageW(d.GetDlgItem(id), BM_CLICK, 0, 0); };
}

ScriptedDialog::Step Key(int id, UINT key) {
    return [id, key](ScriptedDialog& d) { fwtest::PostKey(d.GetDlgItem(id), key); };
}

// Removes a WM_QUIT a test has provoked; returns its exit code, or -1.
int TakeQuit() {
    MSG msg;
    int code = -1;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        code = static_cast<int>(msg.wParam);
    }
    return code;
}

}  // namespace

TEST_F(ModalDialog, DoModalReturnsTheCodeTheDialogEndedWith) {
    enum Shown { No, Yes, Either };
    struct Case {
        const char* id;
        EndingDialog::Way way;
        INT_PTR code;
        std::vector<ScriptedDialog::Step> steps;
        INT_PTR expected;
        Shown shown;
    };
    const Case cases[] = {
        {"EndDialog in OnInitDialog", EndingDialog::InInitDialog, 41, {}, 41, No},
        {"EndDialog from a message posted in OnInitDialog", EndingDialog::FromPostedMessage, 42, {}, 42, No},
        {"EndDialog from a timer", EndingDialog::FromTimer, 43, {}, 43, Either},
        {"OK button clicked", EndingDialog::ByItsSteps, 0, {Click(IDOK)}, IDOK, Yes},
        {"Cancel button clicked", EndingDialog::ByItsSteps, 0, {Click(IDCANCEL)}, IDCANCEL, Yes},
        {"Enter in the edit box", EndingDialog::ByItsSteps, 0, {Key(IDC_EDIT, VK_RETURN)}, IDOK, Yes},
        {"Escape in the edit box", EndingDialog::ByItsSteps, 0, {Key(IDC_EDIT, VK_ESCAPE)}, IDCANCEL, Yes},
        {"close request", EndingDialog::ByItsSteps, 0, {[](ScriptedDialog& d) { d.PostMessage(WM_CLOSE); }},
         IDCANCEL, Yes},
    };
    for (const Case& c : cases) {
        EndingDialog dialog(c.way, c.code, c.steps);
        EXPECT_EQ(dialog.DoModal(), c.expected) << c.id;
        if (c.shown != Either) {
            EXPECT_EQ(dialog.shown, c.shown == Yes) << c.id;
        }
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr) << c.id << ": the window is gone after DoModal";
    }
}

TEST_F(ModalDialog, OwnerIsDisabledWhileTheDialogRunsAndEnabledAfter) {
    struct Case {
        const char* id;
        bool ownerDisabledBefore;
        UINT templateId;
        EndingDialog::Way way;
        bool expectEnabledAfter;
    };
    const Case cases[] = {
        {"enabled owner", false, IDD_TEST, EndingDialog::FromTimer, true},
        {"dialog ended in OnInitDialog", false, IDD_TEST, EndingDialog::InInitDialog, true},
        {"owner that was disabled already stays so", true, IDD_TEST, EndingDialog::FromTimer, false},
    };
    for (const Case& c : cases) {
        OwnerWindow owner;
        ASSERT_NE(owner.Get(), nullptr);
        EnableWindow(owner.Get(), c.ownerDisabledBefore ? FALSE : TRUE);
        EndingDialog dialog(c.way, 5, {}, owner.Get());
        EXPECT_EQ(dialog.DoModal(), 5) << c.id;
        EXPECT_EQ(dialog.ownerAtInit, owner.Get()) << c.id;
        EXPECT_FALSE(dialog.ownerEnabledAtInit) << c.id << ": owner disabled while the dialog is up";
        EXPECT_EQ(IsWindowEnabled(owner.Get()) != FALSE, c.expectEnabledAfter) << c.id;
    }
}

TEST_F(ModalDialog, MissingTemplateGivesNoResultAndLeavesTheOwnerEnabled) {
    OwnerWindow owner;
    fw::CDialog dialog(999, owner.Get());
    EXPECT_EQ(dialog.DoModal(), fw::CDialog::kNoResult);
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));
}

TEST_F(ModalDialog, QuitMessageEndsTheLoopAndIsPostedAgainForTheLoopOutside) {
    OwnerWindow owner;
    EndingDialog dialog(EndingDialog::ByItsSteps, 0, {[](ScriptedDialog&) { PostQuitMessage(7); }}, owner.Get());
    EXPECT_EQ(dialog.DoModal(), fw::CDialog::kNoResult);
    EXPECT_EQ(TakeQuit(), 7);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner.Get()));
}

namespace {

// Swallows Escape for itself and its controls and notes where it was going.
class EscapeEatingDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;
    HWND swallowedFor = nullptr;

    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            swallowedFor = msg.hwnd;
            return true;
        }
        return false;
    }
};

}  // namespace

TEST_F(ModalDialog, PreTranslateMessageSwallowsAKeyBeforeTheDialogManagerSeesIt) {
    HWND edit = nullptr;
    bool stillOpenAfterEscape = false;
    EscapeEatingDialog dialog({
        [&](ScriptedDialog& d) {
            edit = d.GetDlgItem(IDC_EDIT);
            fwtest::PostKey(edit, VK_ESCAPE);
        },
        [&](ScriptedDialog&) { stillOpenAfterEscape = true; },
        Key(IDC_EDIT, VK_RETURN),  // not swallowed: the default button acts
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(stillOpenAfterEscape) << "Escape must not have cancelled the dialog";
    EXPECT_EQ(dialog.swallowedFor, edit) << "the dialog's filter sees the messages of its controls";
}

namespace {

constexpr UINT WM_APP_LOOK = WM_APP + 60;

// Moves the focus itself in OnInitDialog and reports the focus once the
// dialog manager has acted on OnInitDialog's value (the first message of
// the loop, before the dialog is shown).
class FocusDialog : public fw::CDialog {
public:
    FocusDialog(bool result) : CDialog(IDD_TEST), result_(result) {}
    int focusId = 0;

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CDialog::GetMessageMap(), {
            fw::on::Message(WM_APP_LOOK, &FocusDialog::OnLook),
        });
        return map;
    }

protected:
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        ::SetFocus(GetDlgItem(IDC_RANGE_3));
        PostMessage(WM_APP_LOOK);
        return result_;
    }

private:
    LRESULT OnLook(WPARAM, LPARAM) {
        focusId = ::GetDlgCtrlID(GetFocus());
        EndDialog(IDOK);
        return 0;
    }
    bool result_;
};

}  // namespace

TEST_F(ModalDialog, OnInitDialogFalseKeepsTheFocusItsHandlerChose) {
    struct Case {
        const char* id;
        bool result;
        int expectedFocus;
    };
    const Case cases[] = {
        {"true: the dialog manager focuses the first control", true, IDC_EDIT},
        {"false: the handler's choice stands", false, IDC_RANGE_3},
    };
    for (const Case& c : cases) {
        FocusDialog dialog(c.result);
        EXPECT_EQ(dialog.DoModal(), IDOK) << c.id;
        EXPECT_EQ(dialog.focusId, c.expectedFocus) << c.id;
    }
}

namespace {

constexpr UINT WM_APP_FILTERED = WM_APP + 50;
constexpr UINT WM_APP_PASSED = WM_APP + 51;

// A modeless window like the pictures behind pages: it lives beside a modal
// dialog and is served by that dialog's loop.
class ModelessDialog : public fw::CDialog {
public:
    std::vector<std::string> events;

    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_APP_FILTERED) {
            events.push_back("filtered");
            return true;
        }
        return false;
    }
    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CDialog::GetMessageMap(), {
            fw::on::Message(WM_APP_FILTERED, &ModelessDialog::OnFiltered),
            fw::on::Message(WM_APP_PASSED, &ModelessDialog::OnPassed),
        });
        return map;
    }

protected:
    void OnCancel() override {
        events.push_back("cancel");
        CDialog::OnCancel();
    }

private:
    LRESULT OnFiltered(WPARAM, LPARAM) {
        events.push_back("handler of the filtered message");
        return 0;
    }
    LRESULT OnPassed(WPARAM, LPARAM) {
        events.push_back("passed");
        return 0;
    }
};

}  // namespace

TEST_F(ModalDialog, ModelessDialogIsServedByTheLoopOfAModalOne) {
    ModelessDialog modeless;
    ASSERT_TRUE(modeless.Create(IDD_TEST));
    modeless.ShowWindow(SW_SHOWNA);
    bool visibleBeforeEscape = false;
    EndingDialog modal(EndingDialog::ByItsSteps, 0,
                       {
                           [&](ScriptedDialog&) {
                               modeless.PostMessage(WM_APP_FILTERED);
                               modeless.PostMessage(WM_APP_PASSED);
                           },
                           [&](ScriptedDialog&) {
                               visibleBeforeEscape = modeless.IsWindowVisible();
                               fwtest::PostKey(modeless.GetDlgItem(IDC_EDIT), VK_ESCAPE);
                           },
                           [](ScriptedDialog& d) { d.EndDialog(IDOK); },
                       });
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_EQ(modeless.events, (std::vector<std::string>{"filtered", "passed", "cancel"}));
    EXPECT_TRUE(visibleBeforeEscape);
    EXPECT_FALSE(modeless.IsWindowVisible()) << "a modeless dialog's EndDialog hides it";
    EXPECT_NE(modeless.GetSafeHwnd(), nullptr) << "and leaves it to its owner to destroy";
}

namespace {

// Asks itself for the colours of its surface, a label and the edit box once
// it is open, with the background the test chose.
class BackgroundDialog : public fw::CDialogEx {
public:
    enum Background { None, Colour, Brush };
    BackgroundDialog(Background background, HBRUSH brush) : CDialogEx(IDD_TEST), background_(background), brush_(brush) {}

    HBRUSH surface = nullptr;
    HBRUSH label = nullptr;
    HBRUSH edit = nullptr;
    int labelBkMode = 0;

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CDialogEx::GetMessageMap(), {
            fw::on::Message(WM_APP_LOOK, &BackgroundDialog::OnLook),
        });
        return map;
    }

protected:
    bool OnInitDialog() override {
        CDialogEx::OnInitDialog();
        if (background_ == Colour) {
            SetBackgroundColor(RGB(200, 100, 50));
        } else if (background_ == Brush) {
            SetBackgroundBrush(brush_);
        }
        PostMessage(WM_APP_LOOK);
        return true;
    }

private:
    HBRUSH Ask(UINT message, HDC dc, int id) {
        HWND control = id != 0 ? GetDlgItem(id) : GetSafeHwnd();
        return reinterpret_cast<HBRUSH>(
            SendMessage(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    }
    LRESULT OnLook(WPARAM, LPARAM) {
        fw::ClientDC dc(GetSafeHwnd());
        surface = Ask(WM_CTLCOLORDLG, dc, 0);
        edit = Ask(WM_CTLCOLOREDIT, dc, IDC_EDIT);
        SetBkMode(dc, OPAQUE);
        label = Ask(WM_CTLCOLORSTATIC, dc, IDC_PLAIN_LABEL);
        labelBkMode = GetBkMode(dc);
        EndDialog(IDOK);
        return 0;
    }

    Background background_;
    HBRUSH brush_;
};

}  // namespace

TEST_F(ModalDialog, ExtendedDialogUsesItsBackgroundForItsSurfaceAndLabels) {
    fw::UniqueBrush callers(CreateSolidBrush(RGB(1, 200, 3)));
    BackgroundDialog none(BackgroundDialog::None, nullptr);
    ASSERT_EQ(none.DoModal(), IDOK);
    HBRUSH systemSurface = none.surface;
    EXPECT_NE(systemSurface, nullptr) << "without a background the dialog manager answers";

    BackgroundDialog colour(BackgroundDialog::Colour, nullptr);
    ASSERT_EQ(colour.DoModal(), IDOK);
    EXPECT_NE(colour.surface, systemSurface) << "own colour";
    EXPECT_EQ(colour.label, colour.surface) << "own colour";
    EXPECT_EQ(colour.labelBkMode, TRANSPARENT) << "own colour";
    EXPECT_NE(colour.edit, colour.surface) << "edit boxes keep their own colours";

    BackgroundDialog brush(BackgroundDialog::Brush, callers.Get());
    ASSERT_EQ(brush.DoModal(), IDOK);
    EXPECT_EQ(brush.surface, callers.Get()) << "caller's brush";
    EXPECT_EQ(brush.label, callers.Get()) << "caller's brush";
}
