// The maintenance start page and Modify's feature page with their
// templates: the choice and its confirmations, the installed copy's package
// states and the removal marks, Back and Next.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "config/InstalledRecords.h"
#include "engine/EngineTestSupport.h"
#include "pages/FeaturePage.h"
#include "pages/MaintenancePage.h"
#include "pages/PageTestSupport.h"
#include "resource.h"
#include "skin/SkinTestSupport.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"

using namespace korv;
using namespace korv::test;

namespace {

using Maintenance = Scripted<CKVUninstallWelcomeDialog>;
using Features = Scripted<CKorvFeatureDlg>;

class MaintenancePagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(environment.Loaded());
        session->companyName = L"Korv Maintenance Test";
        session->productRegName = L"Korvanix";
        session->targetFolder = installed.Path();
        session->maintenanceMode = kModeModify;
    }

    std::wstring RecordedPath() const {
        DWORD type = 0, number = 0;
        std::wstring path;
        RegistrySandbox::Query(HKEY_LOCAL_MACHINE, SetupRecordKeyPath(L"Korv Maintenance Test", L"Korvanix"),
                               L"path", type, path, number);
        return path;
    }

    static PackageRecord Package(const wchar_t* name, int check, int showFlag) {
        PackageRecord p;
        p.name = name;
        p.description = name;
        p.check = check;
        p.showFlag = showFlag;
        return p;
    }

    SkinEnvironment environment;
    SessionScope session;
    RegistrySandbox registry;
    TempFolder installed{L"korv installed"};
    MainBackground background;
};

}  // namespace

TEST_F(MaintenancePagesTest, StartPageNeedsAChoiceAndRepairEndsAtOnce) {
    ScriptedAnswerer answerer;
    Maintenance page(&background.Window());
    struct Seen {
        bool nextAtStart = true, nextAfterClick = false, chosenTwice = false, noneChosenAtStart = false;
        int selectionAtStart = -1;
    } seen;
    page.script = [&](Maintenance& p) {
        seen.selectionAtStart = p.Selection();
        seen.nextAtStart = p.NextButton().IsWindowEnabled();
        seen.noneChosenAtStart = !p.Option(0).Chosen() && !p.Option(1).Chosen() && !p.Option(2).Chosen();
        p.SendMessage(WM_COMMAND, IDOK);  // Enter before any choice does nothing
        p.Click(IDC_MAINTENANCE_REPAIR);
        seen.nextAfterClick = p.NextButton().IsWindowEnabled();
        p.Click(IDC_MAINTENANCE_REPAIR);
        seen.chosenTwice = p.Option(1).Chosen() && !p.Option(0).Chosen() && !p.Option(2).Chosen();
        p.Click(IDC_MAINTENANCE_NEXT);
    };
    EXPECT_EQ(background.Run(page), IDOK);
    EXPECT_EQ(seen.selectionAtStart, CKVUninstallWelcomeDialog::kUninstall);
    EXPECT_TRUE(seen.noneChosenAtStart);
    EXPECT_FALSE(seen.nextAtStart);
    EXPECT_TRUE(seen.nextAfterClick);
    EXPECT_TRUE(seen.chosenTwice);
    EXPECT_EQ(page.Selection(), CKVUninstallWelcomeDialog::kRepair);
    EXPECT_TRUE(answerer.Requests().empty()) << "Repair asks nothing";
    EXPECT_EQ(RecordedPath(), installed.Path());
}

TEST_F(MaintenancePagesTest, UninstallIsConfirmedAndCancelAsksToo) {
    // 2014 Cancel, 2055 Cancel, 2055 OK.
    ScriptedAnswerer answerer({{kTipCancel, kChoiceCancel}, {kTipCancel, kChoiceCancel}, {kTipOk, kChoiceOk}});
    Maintenance page(&background.Window());
    bool stillOpen = false, uninstallStillChosen = false, openAfterCancel = false;
    page.script = [&](Maintenance& p) {
        p.Click(IDC_MAINTENANCE_MODIFY);
        p.Click(IDC_MAINTENANCE_UNINSTALL);
        p.Click(IDC_MAINTENANCE_NEXT);
        stillOpen = p.GetSafeHwnd() != nullptr;
        uninstallStillChosen = p.Option(2).Chosen() && !p.Option(0).Chosen();
        p.Click(IDC_MAINTENANCE_CANCEL);
        openAfterCancel = p.GetSafeHwnd() != nullptr;
        p.Click(IDC_MAINTENANCE_CANCEL);
    };
    EXPECT_EQ(background.Run(page), IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(uninstallStillChosen);
    EXPECT_TRUE(openAfterCancel);
    const auto asked = answerer.Requests();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].text.rfind(L"You are trying to uninstall Korvanix.", 0), 0u);
    EXPECT_EQ(asked[1].text.rfind(L"After exiting the installation and maintenance program", 0), 0u);
    EXPECT_EQ(RecordedPath(), L"") << "no record for an uninstall";
}

// Which boxes show ticked: the configuration's check, except for the
// building-design add-on, which is ticked exactly when its files are there.
TEST_F(MaintenancePagesTest, FeatureBoxesFollowTheInstalledCopy) {
    struct Case {
        const char* id;
        bool moduleFile;
        int check;
        bool ticked;
    } cases[] = {
        {"add-on files there", true, 0, true},
        {"add-on files missing", false, 1, false},
    };
    for (const Case& c : cases) {
        DeleteFileW((installed / L"bimmep.arx").c_str());
        if (c.moduleFile) {
            installed.Write(L"bimmep.arx", "module");
        }
        session->packages = {Package(L"BIM", c.check, 4), Package(L"fixed", 1, 0)};
        session->packageCount = 2;
        ScriptedAnswerer answerer;
        Features page(&background.Window());
        bool ticked = !c.ticked, fixedDisabled = false, hiddenNewInstallControls = false;
        int choice = -1;
        page.script = [&](Features& p) {
            ticked = p.PackageBox(0)->Checked();
            choice = p.Choices()[0].check;
            fixedDisabled = !p.PackageBox(1)->IsWindowEnabled();
            hiddenNewInstallControls = !p.Visible(IDC_FEATURES_PATH_BUTTON) &&
                                       !::IsWindowEnabled(p.Control(IDC_FEATURES_PATH_BUTTON)) &&
                                       !p.Visible(IDC_AGREEMENT_CHECK) && !p.Visible(IDC_LICENCE_LINK) &&
                                       !p.Visible(IDC_PRIVACY_LINK) && !p.Visible(IDC_AGREEMENT_LABEL);
            p.EndDialog(77);
        };
        background.Run(page);
        EXPECT_EQ(ticked, c.ticked) << c.id;
        EXPECT_EQ(choice, c.ticked ? 1 : 0) << c.id;
        EXPECT_EQ(Session().packages[0].check, c.check) << c.id << ": the records change only on Next";
        EXPECT_TRUE(fixedDisabled) << c.id;
        EXPECT_TRUE(hiddenNewInstallControls) << c.id;
    }
}

// Unticking marks for removal what the installed copy has; the mark stays
// when the box is ticked again, and nothing is marked without the installed
// Setup.ini. Next hands the choices to the records.
TEST_F(MaintenancePagesTest, RemovalMarksComeFromTheInstalledSetupIni) {
    for (bool withIni : {true, false}) {
        DeleteFileW((installed / L"Setup.ini").c_str());
        if (withIni) {
            installed.Write(L"Setup.ini", "[sub1]\r\ncheck=1\r\n[sub2]\r\ncheck=0\r\n");
        }
        session->packages = {Package(L"installed", 1, 1), Package(L"chosen now", 1, 1), Package(L"absent", 0, 1)};
        session->packageCount = 3;
        Features page(&background.Window());
        page.script = [&](Features& p) {
            p.Click(IDC_PACKAGE_BOX_FIRST);      // untick the installed package
            p.Click(IDC_PACKAGE_BOX_FIRST);      // and tick it again
            p.Click(IDC_PACKAGE_BOX_FIRST + 1);  // untick one that is not installed
            p.Click(IDC_PACKAGE_BOX_FIRST + 2);  // tick a new one
            if (withIni) {
                p.Click(IDC_FEATURES_NEXT);
            } else {
                p.SendMessage(WM_COMMAND, IDOK);  // Enter is Next
            }
        };
        EXPECT_EQ(background.Run(page), IDC_FEATURES_NEXT) << withIni;
        const auto& packages = Session().packages;
        EXPECT_EQ(packages[0].check, 1) << withIni;
        EXPECT_EQ(packages[0].removeFlag, withIni) << withIni;
        EXPECT_EQ(packages[1].check, 0) << withIni;
        EXPECT_FALSE(packages[1].removeFlag) << withIni;
        EXPECT_EQ(packages[2].check, 1) << withIni;
        EXPECT_FALSE(packages[2].removeFlag) << withIni;
    }
}

TEST_F(MaintenancePagesTest, FeaturePageBackNextAndCancel) {
    {
        // An installed copy in a drive root: Back shows 2029 as a notice and stays.
        session->targetFolder = L"C:\\";
        ScriptedAnswerer answerer({{kTipOk, kChoiceOk}, {kTipOk, kChoiceOk}});
        Features page(&background.Window());
        bool stayed = false;
        page.script = [&](Features& p) {
            p.Click(IDC_FEATURES_BACK);
            stayed = p.GetSafeHwnd() != nullptr;
            p.Click(IDC_FEATURES_CANCEL);  // 2053, OK
        };
        EXPECT_EQ(background.Run(page), IDCANCEL);
        EXPECT_TRUE(stayed);
        const auto asked = answerer.Requests();
        ASSERT_EQ(asked.size(), 2u);
        EXPECT_EQ(asked[0].kind, kTipNotice);
        EXPECT_EQ(asked[0].text, L"The software is not installed on the disk root directory, please input again.");
        EXPECT_EQ(asked[1].text.rfind(L"After exiting the modification program of Korvanix 2024", 0), 0u);
    }
    {
        session->targetFolder = installed.Path();
        Features page(&background.Window());
        page.script = [&](Features& p) { p.Click(IDC_FEATURES_BACK); };
        EXPECT_EQ(background.Run(page), IDC_FEATURES_BACK);
    }
    {
        // Next on a network folder passes the free-space gate without a probe.
        session->targetFolder = L"\\\\server\\share\\Korvanix";
        ScriptedAnswerer answerer;
        Features page(&background.Window());
        page.script = [&](Features& p) { p.Click(IDC_FEATURES_NEXT); };
        EXPECT_EQ(background.Run(page), IDC_FEATURES_NEXT);
        EXPECT_TRUE(answerer.Requests().empty());
        EXPECT_EQ(RecordedPath(), L"\\\\server\\share\\Korvanix");
    }
}

// Back and a confirmed Cancel leave the records as the page found them: the
// boxes work on the page's own copy, which only Next hands over. So does a
// Next the free-space gate refuses, which keeps the page open and writes no
// setup record.
TEST_F(MaintenancePagesTest, OnlyNextHandsTheChoicesOver) {
    installed.Write(L"Setup.ini", "[sub1]\r\ncheck=1\r\n");
    struct Case {
        const char* id;
        int leaveBy;  // the button that ends the page
        bool gateRefuses;
    } cases[] = {
        {"back", IDC_FEATURES_BACK, false},
        {"cancel", IDC_FEATURES_CANCEL, false},
        {"next refused by the free-space gate, then cancel", IDC_FEATURES_NEXT, true},
    };
    for (const Case& c : cases) {
        // A folder on a drive that is not there: its free space cannot be read.
        session->targetFolder = c.gateRefuses ? L"Q:\\Korvanix" : installed.Path();
        session->packages = {Package(L"installed", 1, 1), Package(L"absent", 0, 1)};
        session->packageCount = 2;
        ScriptedAnswerer answerer({{kTipOk, kChoiceOk}, {kTipOk, kChoiceOk}});
        Features page(&background.Window());
        bool stayed = false;
        page.script = [&](Features& p) {
            p.Click(IDC_PACKAGE_BOX_FIRST);      // untick the installed package
            p.Click(IDC_PACKAGE_BOX_FIRST + 1);  // tick a new one
            p.Click(c.leaveBy);
            stayed = p.Open();
            if (stayed) {
                p.Click(IDC_FEATURES_CANCEL);
            }
        };
        background.Run(page);
        EXPECT_EQ(stayed, c.gateRefuses) << c.id;
        const auto& packages = Session().packages;
        EXPECT_EQ(packages[0].check, 1) << c.id;
        EXPECT_FALSE(packages[0].removeFlag) << c.id;
        EXPECT_EQ(packages[1].check, 0) << c.id;
        EXPECT_EQ(RecordedPath(), L"") << c.id << ": no setup record";
        if (c.gateRefuses) {
            ASSERT_FALSE(answerer.Requests().empty()) << c.id;
            EXPECT_EQ(answerer.Requests()[0].text.rfind(L"Get disk space failed.", 0), 0u) << c.id;
        }
    }
}
