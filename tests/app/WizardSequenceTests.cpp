// The install sequence's transitions, with the pages replaced by end codes.
#include <gtest/gtest.h>

#include <vector>

#include "app/WizardSequence.h"
#include "framework/Framework.h"
#include "session/ExitCodes.h"
#include "session/InstallSession.h"

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
        const int exitCode = RunInstallWizard([&](WizardPage page) {
            shown.push_back(page);
            return next < c.codes.size() ? c.codes[next++] : fw::CDialog::kNoResult;
        });
        EXPECT_EQ(exitCode, c.exitCode) << c.id;
        EXPECT_EQ(shown, c.shown) << c.id;
        EXPECT_EQ(Session().showInfoPage, c.showInfoPage) << c.id;
    }
    Session().Reset();
}
