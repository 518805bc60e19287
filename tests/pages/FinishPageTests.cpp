// The finish page: the workspace choice and its record, the final layout,
// and the configuration program's second chance when the page goes without
// a successful Next.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/JobTestSupport.h"
#include "pages/FinishPage.h"
#include "pages/PageTestSupport.h"
#include "resource.h"
#include "skin/SkinTestSupport.h"
#include "support/ScriptedAnswerer.h"

using namespace korv;
using namespace korv::test;

namespace {

using Finish = Scripted<CKorvFinishDlg>;

class FinishPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(environment.Loaded());
        session->setupFolder = m.MediumPath() + L"\\";
        session->targetFolder = m.target;
        session->productName = L"Korvanix2024";
        session->productRegName = L"Korvanix";
        session->companyName = L"Tallowick";
        session->languageCode = L"en_us";
        session->productVersion = L"21.0";
        session->product64Bit = 1;
        m.scratch.Write(L"Korv Target\\Setup.ini", "[SETUP]\r\nCLASSIC=0\r\n");
    }

    int InstalledClassic() const {
        return static_cast<int>(GetPrivateProfileIntW(L"SETUP", L"CLASSIC", -1, (m.target + L"\\Setup.ini").c_str()));
    }

    SkinEnvironment environment;
    SessionScope session;
    JobMedium m;
    MainBackground background;
};

}  // namespace

TEST_F(FinishPageTest, WorkspaceChoiceRunsTheConfigurationProgramAndShowsTheFinalPage) {
    m.Program(L"files", L"SetupWriter_x64.exe");
    // The program takes a while: the page is looked at meanwhile.
    m.medium.Write(L"files\\fakepkg.ini", "[SetupWriter_x64.exe]\r\nsleep_ms=800\r\n");
    session->maintenanceMode = kModeInstall;
    session->classicWorkspace = 1;
    ScriptedAnswerer answerer;
    Finish page(&background.Window());
    struct Seen {
        UINT drafting = 0, classic = 0, picture = 0, draftingAfter = 0, classicAfter = 0;
        int classicAfterDrafting = -1;
        bool promptShown = false, headlineShown = true, focusOnNext = false;
        std::wstring next;
        // While the configuration program runs: the page on screen with
        // its buttons off and a busy cursor, its thread answering.
        bool sawConfiguring = false, visibleWhileConfiguring = false, buttonsOffWhileConfiguring = false,
             busyCursor = false;
        // The second page, as the watcher found it.
        bool finalSeen = false, finalButtonsHidden = false;
        UINT finalPicture = 0;
        std::wstring finalButton;
    } seen;
    page.script = [&](Finish& p) {
        seen.drafting = p.DraftingButton().PngImage(ButtonState::Normal);
        seen.classic = p.ClassicButton().PngImage(ButtonState::Normal);
        seen.picture = background.Window().CurrentImageId();
        seen.promptShown = p.Visible(IDC_FINISH_WORKSPACE_PROMPT);
        seen.headlineShown = p.Visible(IDC_FINISH_HEADLINE);
        seen.next = p.NextButton().ButtonText();
        seen.focusOnNext = GetFocus() == p.Control(IDC_FINISH_NEXT);
        p.Click(IDC_FINISH_DRAFTING);
        seen.classicAfterDrafting = Session().classicWorkspace;
        seen.draftingAfter = p.DraftingButton().PngImage(ButtonState::Normal);
        seen.classicAfter = p.ClassicButton().PngImage(ButtonState::Normal);
        p.Click(IDC_FINISH_CLASSIC);
        p.Click(IDC_FINISH_NEXT);
    };
    // The second page opens inside Next: the watcher reads it and presses Finish.
    Watcher watcher([&] {
        if (page.Configuring() && !seen.sawConfiguring) {
            seen.sawConfiguring = true;
            seen.visibleWhileConfiguring = IsWindowVisible(page.GetSafeHwnd()) != FALSE;
            seen.buttonsOffWhileConfiguring = !IsWindowEnabled(page.Control(IDC_FINISH_NEXT)) &&
                                              !IsWindowEnabled(page.Control(IDC_FINISH_DRAFTING));
            SendMessageW(page.GetSafeHwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(page.GetSafeHwnd()),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            seen.busyCursor = GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
            page.Click(IDC_FINISH_NEXT);  // a second press does nothing
        }
        HWND final = FindThreadWindowWith(IDC_FINISH_HEADLINE);
        if (final == nullptr || seen.finalSeen) {
            return;
        }
        seen.finalSeen = true;
        seen.finalPicture = background.Window().CurrentImageId();
        seen.finalButtonsHidden = !IsWindowVisible(GetDlgItem(final, IDC_FINISH_DRAFTING)) &&
                                  !IsWindowVisible(GetDlgItem(final, IDC_FINISH_CLASSIC));
        auto* finalPage = dynamic_cast<CKorvFinishDlg*>(fw::CWnd::FromHandlePermanent(final));
        seen.finalButton = finalPage != nullptr ? finalPage->NextButton().ButtonText() : L"";
        SendMessageW(GetDlgItem(final, IDC_FINISH_NEXT), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(background.Run(page), IDC_FINISH_NEXT);

    EXPECT_EQ(seen.drafting, static_cast<UINT>(IDP_DRAFTING_UNCHOSEN));
    EXPECT_EQ(seen.classic, static_cast<UINT>(IDP_CLASSIC_CHOSEN));
    EXPECT_EQ(seen.picture, static_cast<UINT>(IDP_FINISH_WORKSPACE_BACKGROUND));
    EXPECT_TRUE(seen.promptShown);
    EXPECT_FALSE(seen.headlineShown);
    EXPECT_EQ(seen.next, L"Next");
    EXPECT_TRUE(seen.focusOnNext);
    EXPECT_EQ(seen.classicAfterDrafting, 0);
    EXPECT_EQ(seen.draftingAfter, static_cast<UINT>(IDP_DRAFTING_CHOSEN));
    EXPECT_EQ(seen.classicAfter, static_cast<UINT>(IDP_CLASSIC_UNCHOSEN));

    EXPECT_TRUE(seen.sawConfiguring);
    EXPECT_TRUE(seen.visibleWhileConfiguring);
    EXPECT_TRUE(seen.buttonsOffWhileConfiguring);
    EXPECT_TRUE(seen.busyCursor);
    EXPECT_FALSE(page.ConfigurationFailed());
    EXPECT_TRUE(seen.finalSeen);
    EXPECT_EQ(seen.finalPicture, static_cast<UINT>(IDP_FINISH_FINAL_BACKGROUND));
    EXPECT_TRUE(seen.finalButtonsHidden);
    EXPECT_EQ(seen.finalButton, L"Finish");
    EXPECT_EQ(Session().maintenanceMode, kModeRepair);
    EXPECT_FALSE(background.Window().IsWindowVisible());

    const std::vector<JournalEntry> journal = m.Journal();
    ASSERT_EQ(journal.size(), 1u) << "the configuration program once, nothing on Finish";
    EXPECT_EQ(journal[0].name, L"SetupWriter_x64.exe");
    EXPECT_NE(journal[0].commandLine.find(L" WorkspaceName=0 "), std::wstring::npos);
    EXPECT_EQ(InstalledClassic(), 1);
    EXPECT_TRUE(answerer.Requests().empty());
}

TEST_F(FinishPageTest, AfterRepairOnlyFinish) {
    m.Program(L"files", L"SetupWriter_x64.exe");
    session->maintenanceMode = kModeRepair;
    Finish page(&background.Window());
    bool buttonsHidden = false;
    UINT picture = 0;
    page.script = [&](Finish& p) {
        buttonsHidden = !p.Visible(IDC_FINISH_DRAFTING) && !p.Visible(IDC_FINISH_CLASSIC) &&
                        !p.Visible(IDC_FINISH_WORKSPACE_PROMPT) && p.Visible(IDC_FINISH_HEADLINE);
        picture = background.Window().CurrentImageId();
        p.Click(IDC_FINISH_NEXT);
    };
    EXPECT_EQ(background.Run(page), IDC_FINISH_NEXT);
    EXPECT_TRUE(page.FinalLayout());
    EXPECT_TRUE(buttonsHidden);
    EXPECT_EQ(picture, static_cast<UINT>(IDP_FINISH_FINAL_BACKGROUND));
    EXPECT_TRUE(m.Journal().empty());
    EXPECT_EQ(InstalledClassic(), 0);
}

// A workspace page closed without Next still gives the configuration
// program its run and the choice its record, and no final page follows. A
// missing configuration program is told once, and the final layout still
// comes; the page reports the failed configuration.
TEST_F(FinishPageTest, ClosedWithoutNextStillConfigures) {
    struct Case {
        const char* id;
        bool configuratorThere;
        bool pressNext;
        size_t runs;
        size_t notices;
        int classic;
        bool finalPage;
        bool failed;
    } cases[] = {
        {"closed", true, false, 1, 0, 1, false, false},
        {"closed, configuration program missing", false, false, 0, 1, 0, false, true},
        {"configuration program missing", false, true, 0, 1, 0, true, true},
    };
    for (const Case& c : cases) {
        if (c.configuratorThere) {
            m.Program(L"files", L"SetupWriter_x64.exe");
        } else {
            m.Remove(L"files", L"SetupWriter_x64.exe");
        }
        DeleteFileW(m.journal.c_str());
        m.scratch.Write(L"Korv Target\\Setup.ini", "[SETUP]\r\nCLASSIC=0\r\n");
        session->maintenanceMode = kModeInstall;
        session->classicWorkspace = 1;
        ScriptedAnswerer answerer;
        Finish page(&background.Window());
        bool finalPageShown = false;
        Watcher watcher([&] {
            if (HWND final = FindThreadWindowWith(IDC_FINISH_HEADLINE)) {
                finalPageShown = true;
                SendMessageW(GetDlgItem(final, IDC_FINISH_NEXT), BM_CLICK, 0, 0);
            }
        });
        page.script = [&](Finish& p) {
            if (c.pressNext) {
                p.SendMessage(WM_COMMAND, IDOK);  // Enter is Next
            } else {
                p.SendMessage(WM_CLOSE);
            }
        };
        background.Run(page);
        EXPECT_EQ(m.Journal().size(), c.runs) << c.id;
        EXPECT_EQ(answerer.Requests().size(), c.notices) << c.id;
        EXPECT_EQ(InstalledClassic(), c.classic) << c.id;
        EXPECT_EQ(finalPageShown, c.finalPage) << c.id;
        EXPECT_EQ(page.ConfigurationFailed(), c.failed) << c.id;
        EXPECT_EQ(Session().maintenanceMode, c.finalPage ? kModeRepair : kModeInstall) << c.id;
        for (const TipRequest& r : answerer.Requests()) {
            EXPECT_NE(r.owner, nullptr) << c.id << ": the notice stands on the page";
        }
    }
}
