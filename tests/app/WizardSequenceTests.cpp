// The install sequence's transitions, with the pages replaced by end codes.
#include <gtest/gtest.h>

#include <vector>

#include "app/WizardSequence.h"
#include "framework/Framework.h"
#include "session/ExitCodes.h"
#include "session/InstallSession.h"
#include "session/TipMessage.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"

using namespace korv;

TEST(WizardSequence, InstallTransitions) {
    struct Case {
        const char* id;
        std::vector<INT_PTR> codes;  // what each page shown ends with, in order
        std::vector<WizardPage> shown;
        int exitCode;
        int showInfoPage;
    } cases[] = {
        {"installed", {kPageInstall, kPageDone, kPageNext},
         {WizardPage::kWelcome, WizardPage::kCopyProgress, WizardPage::kFinish}, kExitSuccess, 1},
        {"finish closed otherwise", {kPageInstall, kPageDone, kPageCancel},
         {WizardPage::kWelcome, WizardPage::kCopyProgress, WizardPage::kFinish}, kExitSuccess, 1},
        // Installed, but not configured: the run says so.
        {"configuration failed", {kPageInstall, kPageDone, kPageConfigurationFailed},
         {WizardPage::kWelcome, WizardPage::kCopyProgress, WizardPage::kFinish}, kExitFatal, 1},
        {"exit on welcome", {kPageCancel}, {WizardPage::kWelcome}, kExitUserDeclined, 0},
        {"welcome cannot be made", {fw::CDialog::kNoResult}, {WizardPage::kWelcome}, kExitFatal, 0},
        {"installation failed", {kPageInstall, kPageCancel}, {WizardPage::kWelcome, WizardPage::kCopyProgress},
         kExitFatal, 0},
        {"progress page cannot be made", {kPageInstall, fw::CDialog::kNoResult},
         {WizardPage::kWelcome, WizardPage::kCopyProgress}, kExitFatal, 0},
    };
    for (const Case& c : cases) {
        Session().Reset();
        std::vector<WizardPage> shown;
        size_t next = 0;
        const int exitCode = RunInstallWizard([&](WizardPage page, int&) {
            shown.push_back(page);
            return next < c.codes.size() ? c.codes[next++] : fw::CDialog::kNoResult;
        });
        EXPECT_EQ(exitCode, c.exitCode) << c.id;
        EXPECT_EQ(shown, c.shown) << c.id;
        EXPECT_EQ(Session().showInfoPage, c.showInfoPage) << c.id;
    }
    Session().Reset();
}

namespace {

using W = WizardPage;

// A page shown and what it ended with (and, for the start page, the choice).
struct Shown {
    WizardPage page;
    INT_PTR code;
    int choice = 2;
};

}  // namespace

TEST(WizardSequence, MaintenanceTransitions) {
    struct Case {
        const char* id;
        std::vector<Shown> pages;
        int uninstallResult;  // what the uninstall procedure gives (-1: must not run)
        int exitCode;
        int mode;             // maintenanceMode the copy-progress page saw (0: not shown)
        int showInfoPage;
    } cases[] = {
        {"modify", {{W::kMaintenance, 1, 0}, {W::kFeatures, kPageNext}, {W::kCopyProgress, 1}, {W::kFinish, 1001}},
         -1, kExitSuccess, 1, 1},
        {"modify, back, repair",
         {{W::kMaintenance, 1, 0}, {W::kFeatures, kPageBack}, {W::kMaintenance, 1, 1}, {W::kCopyProgress, 1},
          {W::kFinish, 1001}},
         -1, kExitSuccess, 2, 1},
        {"repair", {{W::kMaintenance, 1, 1}, {W::kCopyProgress, 1}, {W::kFinish, 1001}}, -1, kExitSuccess, 2, 1},
        {"repair failed", {{W::kMaintenance, 1, 1}, {W::kCopyProgress, 2}}, -1, kExitFatal, 2, 0},
        {"cancel on the start page", {{W::kMaintenance, 2}}, -1, kExitUserDeclined, 0, 0},
        {"cancel on the feature page", {{W::kMaintenance, 1, 0}, {W::kFeatures, 2}}, -1, kExitUserDeclined, 0, 0},
        {"uninstall", {{W::kMaintenance, 1, 2}}, 1, kExitSuccess, 0, 1},
        {"uninstall failed", {{W::kMaintenance, 1, 2}}, 0, kExitFatal, 0, 1},
    };
    test::TempFolder medium(L"korv maintenance");
    CreateDirectoryW((medium / L"Msi").c_str(), nullptr);
    for (const Case& c : cases) {
        Session().Reset();
        Session().setupFolder = medium.Path() + L"\\";
        test::ScriptedAnswerer answerer;
        size_t next = 0;
        int modeAtCopy = 0;
        bool uninstalled = false;
        std::vector<WizardPage> shown;
        const int exitCode = RunMaintenance(
            [&](WizardPage page, int& choice) -> INT_PTR {
                shown.push_back(page);
                if (page == W::kCopyProgress) {
                    modeAtCopy = Session().maintenanceMode;
                }
                if (next >= c.pages.size() || c.pages[next].page != page) {
                    ADD_FAILURE() << c.id << ": unexpected page " << static_cast<int>(page);
                    return fw::CDialog::kNoResult;
                }
                choice = c.pages[next].choice;
                return c.pages[next++].code;
            },
            [&] {
                uninstalled = true;
                return c.uninstallResult;
            });
        EXPECT_EQ(exitCode, c.exitCode) << c.id;
        EXPECT_EQ(next, c.pages.size()) << c.id;
        EXPECT_EQ(modeAtCopy, c.mode) << c.id;
        EXPECT_EQ(uninstalled, c.uninstallResult >= 0) << c.id;
        EXPECT_EQ(Session().showInfoPage, c.showInfoPage) << c.id;
        const auto asked = answerer.Requests();
        if (c.uninstallResult == 0) {
            ASSERT_EQ(asked.size(), 1u) << c.id;
            EXPECT_EQ(asked[0].text, L"Failed to uninstall!") << c.id;
        } else {
            EXPECT_TRUE(asked.empty()) << c.id;
        }
    }
    Session().Reset();
}

// Started from an installed copy's folder (install.log, no Msi folder): the
// uninstall question at once, without a page; Cancel ends the run.
TEST(WizardSequence, InstalledCopyFolderGoesStraightToTheUninstallQuestion) {
    struct Case {
        const char* id;
        bool msiFolder;
        int answer;
        bool pageShown;
        bool uninstalled;
        int exitCode;
    } cases[] = {
        {"installed copy, OK", false, kTipOk, false, true, kExitSuccess},
        {"installed copy, Cancel", false, kTipCancel, false, false, kExitUserDeclined},
        {"medium with a log too", true, kTipOk, true, false, kExitUserDeclined},
    };
    for (const Case& c : cases) {
        Session().Reset();
        test::TempFolder folder(L"korv installed copy");
        folder.Write(L"install.log", "log");
        if (c.msiFolder) {
            CreateDirectoryW((folder / L"Msi").c_str(), nullptr);
        }
        Session().setupFolder = folder.Path() + L"\\";
        test::ScriptedAnswerer answerer({{c.answer, c.answer == kTipOk ? kChoiceOk : kChoiceCancel}});
        bool pageShown = false;
        bool uninstalled = false;
        const int exitCode = RunMaintenance(
            [&](WizardPage, int&) -> INT_PTR {
                pageShown = true;
                return kPageCancel;
            },
            [&] {
                uninstalled = true;
                return 1;
            });
        EXPECT_EQ(exitCode, c.exitCode) << c.id;
        EXPECT_EQ(pageShown, c.pageShown) << c.id;
        EXPECT_EQ(uninstalled, c.uninstalled) << c.id;
        if (!c.pageShown) {
            ASSERT_EQ(answerer.Requests().size(), 1u) << c.id;
            EXPECT_EQ(answerer.Requests()[0].kind, kTipQuestion) << c.id;
            EXPECT_EQ(Session().maintenanceMode, kModeUninstall) << c.id;
        }
    }
    Session().Reset();
}
