// The copy-progress page running the real install job on its worker
// thread, on a medium of fake packages: its bar, caption, slideshow and
// input block, and how it ends after success and after a failure.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/JobTestSupport.h"
#include "engine/InstallPlan.h"
#include "engine/ShortcutReader.h"
#include "pages/CopyProgressPage.h"
#include "pages/PageTestSupport.h"
#include "resource.h"
#include "session/LocalText.h"
#include "session/ProgressMessages.h"
#include "skin/SkinTestSupport.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"

using namespace korv;
using namespace korv::test;

namespace {

using CopyPage = Scripted<CKorvCopyFilesDlg>;

const wchar_t kProduct[] = L"Korv Copy Page Test";
const wchar_t kCompany[] = L"Korv Copy Page Maker";

void FillSession(InstallSession& s, const JobMedium& medium, int mode) {
    s.setupFolder = medium.MediumPath() + L"\\";
    s.targetFolder = medium.target;
    s.productName = kProduct;
    s.productRegName = L"Korvanix";
    s.companyName = kCompany;
    s.languageCode = L"en_us";
    s.productVersion = L"21.0";
    s.product64Bit = 0;
    s.os64Bit = 1;
    s.dotNetVersion = L"4.8";
    s.maintenanceMode = mode;
}

std::wstring CommonFilesMaker() {
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"CommonProgramFiles", folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + kCompany;
}

class CopyPageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(environment.Loaded()); }
    void TearDown() override { TempFolder::RemoveTree(CommonFilesMaker()); }

    SkinEnvironment environment;
    SessionScope session;
    RegistrySandbox registry;
    ShortcutCleanup shortcuts{kProduct, {kProduct}};
    MainBackground background;
};

}  // namespace

TEST_F(CopyPageTest, SuccessfulJobMovesTheBarAndEndsWithOne) {
    JobMedium m;
    m.PlaceStandardFiles();
    FillSession(*session, m, kModeRepair);
    PackageRecord ticked;
    ticked.name = L"P";
    ticked.package = L"a.msi;b.msi;c.msi";
    ticked.check = 1;
    session->packages = {ticked};
    session->packageCount = 1;
    for (const wchar_t* name : {L"a.msi", L"b.msi", L"c.msi"}) {
        m.Package(name, L"fixture_fail.msi");
    }
    const bool installerMissing = !InstallFacts::OfThisMachine(*session, false).windowsInstallerRegistered;

    // The first product package takes a while, so the page is looked at
    // while the job is under way.
    m.medium.Write(L"files\\fakepkg.ini", "[korv_kernel.exe]\r\nsleep_ms=1500\r\n");

    ScriptedAnswerer answerer;
    CopyPage page(&background.Window());
    struct Seen {
        int total = 0, atOpen = -1, afterWrap = -1, barAfterWrap = -1;
        bool ownsMessages = false, blocked = false, unblocked = false;
        std::wstring openingCaption, openingTitle, openingText;
        int changesBefore = -1, changesAfter = -1;
        std::vector<int> slides;
        std::vector<UINT> pictures;
        std::wstring slide1TextAgain;
    } seen;
    page.opened = [&](CopyPage& p) {
        seen.total = p.TotalSteps();
        seen.atOpen = p.CurrentStep();
        seen.ownsMessages = Session().progressWindow == p.GetSafeHwnd();
        seen.openingCaption = p.Caption().Text();
        seen.openingTitle = p.SlideTitle().Text();
        seen.openingText = p.SlideText().Text();
    };
    page.script = [&](CopyPage& p) {
        // More steps than counted: the bar wraps to 0 instead of overflowing.
        for (int i = p.CurrentStep(); i < p.TotalSteps(); ++i) {
            p.SendMessage(WM_PACKAGE_END);
        }
        seen.afterWrap = p.CurrentStep();
        seen.barAfterWrap = p.Bar().Pos();
        // A message box over the page blocks its input while it is open.
        p.SendMessage(WM_TIP_OPENED);
        seen.blocked = p.InputBlocked();
        p.SendMessage(WM_TIP_CLOSED);
        seen.unblocked = !p.InputBlocked();
        // The same stage twice: the caption is not set again.
        seen.changesBefore = p.CaptionChanges();
        p.SendMessage(WM_PROGRESS_MOVED);
        p.SendMessage(WM_PROGRESS_MOVED);
        seen.changesAfter = p.CaptionChanges();
        // Six slides and back to the first.
        for (int i = 0; i < 6; ++i) {
            p.SendMessage(WM_TIMER, CKorvCopyFilesDlg::kSlideTimer);
            seen.slides.push_back(p.CurrentSlide());
            seen.pictures.push_back(background.Window().CurrentImageId());
        }
        seen.slide1TextAgain = p.SlideText().Text();
    };
    EXPECT_EQ(background.Run(page), 1);

    EXPECT_EQ(seen.total, 10 + (installerMissing ? 1 : 0) + 2 + 2 + 3);
    EXPECT_EQ(seen.atOpen, 1);
    EXPECT_TRUE(seen.ownsMessages);
    EXPECT_EQ(Session().progressWindow, nullptr) << "cleared with the page";
    EXPECT_EQ(seen.afterWrap, 0);
    EXPECT_EQ(seen.barAfterWrap, 0);
    EXPECT_TRUE(seen.blocked);
    EXPECT_TRUE(seen.unblocked);
    EXPECT_EQ(seen.openingCaption, L"Overall progress...");
    EXPECT_EQ(seen.openingTitle, L"Excellent Performance");
    EXPECT_EQ(seen.openingText, LoadText(2251, L"Powerful tools help you automate and intelligentize your work."));
    EXPECT_EQ(seen.changesAfter, seen.changesBefore);
    EXPECT_EQ(seen.slides, (std::vector<int>{2, 3, 4, 5, 6, 1}));
    EXPECT_EQ(seen.pictures, (std::vector<UINT>{262, 263, 264, 265, 266, 261}));
    EXPECT_EQ(seen.slide1TextAgain, L"Excellent Performance, smooth and seamless drawing experience.");

    // The job ran to its end and the bar stood full; the caption changed
    // once per stage at most (Overall, packages, collaboration, registration).
    EXPECT_EQ(page.CurrentStep(), page.TotalSteps());
    EXPECT_EQ(page.Caption().Text(),
              L"Registering environment variables and writing registry information...");
    EXPECT_LE(page.CaptionChanges(), 4);
    const std::vector<JournalEntry> journal = m.Journal();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back().name, L"SetupWriter.exe") << "a repair runs the configuration program last";
}

// A failed job: its messages are owned by the page, and only a new
// installation is handed to the uninstaller; a failed Repair leaves the
// installed copy alone.
TEST_F(CopyPageTest, FailedJobEndsWithTwoAndRollsBackOnlyANewInstallation) {
    struct Case {
        const char* id;
        int mode;
        bool rolledBack;
    } cases[] = {{"new installation", kModeInstall, true}, {"repair", kModeRepair, false}};
    for (const Case& c : cases) {
        JobMedium m;
        m.PlaceStandardFiles();
        m.Remove(L"files", L"korv_kernel.exe");
        m.scratch.Write(L"Korv Target\\install.log", "log");
        Session().Reset();
        FillSession(*session, m, c.mode);

        ScriptedAnswerer answerer;
        CopyPage page(&background.Window());
        HWND pageWindow = nullptr;
        page.script = [&](CopyPage& p) { pageWindow = p.GetSafeHwnd(); };
        EXPECT_EQ(background.Run(page), 2) << c.id;

        const std::vector<TipRequest> asked = answerer.Requests();
        ASSERT_EQ(asked.size(), 2u) << c.id;
        EXPECT_EQ(asked[0].text, L"File :'" + m.In(L"files", L"korv_kernel.exe") + L"' does not exist!") << c.id;
        EXPECT_EQ(asked[1].text, L"korv_kernel.exe Failed to install,Please reinstall!") << c.id;
        EXPECT_EQ(asked[1].owner, pageWindow) << c.id;
        EXPECT_EQ(page.CurrentStep(), page.TotalSteps()) << c.id;

        // The uninstaller is started through the shell and not waited for.
        bool started = false;
        for (int i = 0; i < 100 && !started; ++i) {
            for (const JournalEntry& e : m.Journal()) {
                started = started || e.name == L"KUninstall.exe";
            }
            if (!started && c.rolledBack) {
                Sleep(50);
            }
        }
        EXPECT_EQ(started, c.rolledBack) << c.id;
        if (c.rolledBack) {
            EXPECT_EQ(m.Journal().back().commandLine.substr(m.Journal().back().commandLine.size() - 18),
                      L" /quiet /norestart")
                << c.id;
        }
    }
}
