// The maintenance sequence with the real page runner and the real pages,
// worked the way a person works them, over a medium of fake packages and an
// installed copy with an add-on: what Repair and Modify do with the choices
// of a feature page the person left with Back.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/WizardSequence.h"
#include "engine/JobTestSupport.h"
#include "engine/ShortcutReader.h"
#include "pages/FeaturePage.h"
#include "pages/FinishPage.h"
#include "pages/MaintenancePage.h"
#include "pages/PageTestSupport.h"
#include "resource.h"
#include "session/ExitCodes.h"
#include "skin/SkinTestSupport.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"
#include "support/Text.h"

using namespace korv;
using namespace korv::test;

namespace {

const wchar_t kProduct[] = L"Korv Wizard Run Test";
const wchar_t kCompany[] = L"Korv Wizard Run Maker";

// The visible page of class Page on this thread, or null.
template <class Page>
Page* VisiblePage() {
    struct Search {
        Page* found;
    } search{nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* page = dynamic_cast<Page*>(fw::CWnd::FromHandlePermanent(window));
            if (page != nullptr && IsWindowVisible(window)) {
                reinterpret_cast<Search*>(data)->found = page;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(fw::CWnd& page, int id) {
    SendMessageW(GetDlgItem(page.GetSafeHwnd(), id), BM_CLICK, 0, 0);
}

std::wstring CommonFilesMaker() {
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"CommonProgramFiles", folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + kCompany;
}

class WizardRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(environment.Loaded());
        m.PlaceStandardFiles();
        m.Program(L"files", L"dx.exe");
        InstallSession& s = *session;
        s.setupFolder = m.MediumPath() + L"\\";
        s.targetFolder = m.target;
        s.productName = kProduct;
        s.productRegName = L"Korvanix";
        s.companyName = kCompany;
        s.languageCode = L"en_us";
        s.productVersion = L"21.0";
        s.product64Bit = 0;
        s.os64Bit = 1;
        s.dotNetVersion = L"4.8";
        // The installed copy has the data-exchange add-on: its files and
        // its line in the installed Setup.ini.
        PackageRecord addOn;
        addOn.name = L"Data Exchange";
        addOn.description = L"Data Exchange";
        addOn.package = L"dx.exe";
        addOn.check = 1;
        addOn.showFlag = 1;
        s.packages = {addOn};
        s.packageCount = 1;
        CreateDirectoryW((m.target + L"\\express").c_str(), nullptr);
        CreateDirectoryW((m.target + L"\\express\\BIM").c_str(), nullptr);
        m.scratch.Write(L"Korv Target\\express\\BIM\\bimcore.dll", "module");
        ASSERT_TRUE(AddOnFilesThere());
        m.scratch.Write(L"Korv Target\\Setup.ini", "[sub1]\r\ncheck=1\r\n");
    }
    void TearDown() override { TempFolder::RemoveTree(CommonFilesMaker()); }

    bool AddOnFilesThere() const {
        return GetFileAttributesW((m.target + L"\\express\\BIM\\bimcore.dll").c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    int InstalledCheck() const {
        return static_cast<int>(GetPrivateProfileIntW(L"sub1", L"check", -1, (m.target + L"\\Setup.ini").c_str()));
    }
    bool AddOnRun() const {
        for (const JournalEntry& entry : m.Journal()) {
            if (entry.name == L"dx.exe") {
                return true;
            }
        }
        return false;
    }

    SkinEnvironment environment;
    SessionScope session;
    RegistrySandbox registry;
    ShortcutCleanup shortcuts{kProduct, {kProduct}};
    JobMedium m;
};

// The person: Modify, untick the add-on, Back; then `second` (Repair, or
// Modify again with the add-on unticked and Next); Finish at the end.
struct Person {
    explicit Person(int second) : secondChoice(second) {}
    int secondChoice;  // IDC_MAINTENANCE_REPAIR or IDC_MAINTENANCE_MODIFY
    int startPages = 0, featurePages = 0, finishPages = 0;
    std::set<HWND> done;

    void Act() {
        if (auto* start = VisiblePage<CKVUninstallWelcomeDialog>(); start != nullptr && Fresh(*start)) {
            ++startPages;
            Click(*start, startPages == 1 ? IDC_MAINTENANCE_MODIFY : secondChoice);
            Click(*start, IDC_MAINTENANCE_NEXT);
        } else if (auto* features = VisiblePage<CKorvFeatureDlg>(); features != nullptr && Fresh(*features)) {
            ++featurePages;
            Click(*features, IDC_PACKAGE_BOX_FIRST);  // untick the add-on
            Click(*features, featurePages == 1 ? IDC_FEATURES_BACK : IDC_FEATURES_NEXT);
        } else if (auto* finish = VisiblePage<CKorvFinishDlg>(); finish != nullptr && Fresh(*finish)) {
            ++finishPages;
            Click(*finish, IDC_FINISH_NEXT);
        }
    }
    bool Fresh(fw::CWnd& page) { return done.insert(page.GetSafeHwnd()).second; }
};

}  // namespace

TEST_F(WizardRunTest, BackFromModifyThenRepairKeepsTheAddOn) {
    ScriptedAnswerer answerer;
    Person person{IDC_MAINTENANCE_REPAIR};
    Watcher watcher([&] { person.Act(); });
    const int exitCode = RunMaintenance(RunWizardPage, [] { return 0; });

    EXPECT_EQ(exitCode, kExitSuccess);
    EXPECT_EQ(person.startPages, 2);
    EXPECT_EQ(person.featurePages, 1);
    EXPECT_EQ(person.finishPages, 1);
    EXPECT_EQ(Session().maintenanceMode, kModeRepair);
    EXPECT_EQ(Session().packages[0].check, 1) << "Back left the records as they were";
    EXPECT_FALSE(Session().packages[0].removeFlag);
    EXPECT_TRUE(AddOnFilesThere()) << "Repair removes nothing";
    EXPECT_EQ(InstalledCheck(), 1) << "the installed Setup.ini still lists the add-on";
    EXPECT_TRUE(AddOnRun()) << "Repair installs the add-on the copy has";
    EXPECT_TRUE(answerer.Requests().empty()) << Narrow(answerer.Requests()[0].text);
}

TEST_F(WizardRunTest, BackFromModifyThenModifyAgainAppliesTheNewChoice) {
    ScriptedAnswerer answerer;
    Person person{IDC_MAINTENANCE_MODIFY};
    Watcher watcher([&] { person.Act(); });
    const int exitCode = RunMaintenance(RunWizardPage, [] { return 0; });

    EXPECT_EQ(exitCode, kExitSuccess);
    EXPECT_EQ(person.startPages, 2);
    EXPECT_EQ(person.featurePages, 2);
    EXPECT_EQ(person.finishPages, 1);
    EXPECT_EQ(Session().packages[0].check, 0);
    EXPECT_TRUE(Session().packages[0].removeFlag);
    EXPECT_FALSE(AddOnFilesThere()) << "Modify removes the unticked add-on";
    EXPECT_EQ(InstalledCheck(), 0);
    EXPECT_FALSE(AddOnRun());
}
