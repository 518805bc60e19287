// The install job on its worker thread, reporting to a test window: the
// programs it starts (the fakepkg journal), the messages the window
// receives in order, the messages shown, and what it leaves in the
// installation folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "session/TipMessage.h"
#include "config/SetupConfig.h"
#include "engine/InstallJob.h"
#include "engine/InstallPlan.h"
#include "engine/InstallThread.h"
#include "engine/JobTestSupport.h"
#include "engine/ProductData.h"
#include "session/ProgressMessages.h"
#include "engine/ShortcutReader.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"
#include "support/SecurityCheck.h"

using namespace korv;
using namespace korv::test;

namespace {

const std::wstring kUninstallRoot = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kProduct[] = L"Korv Job Test";
const wchar_t kCompany[] = L"Korv Job Test Maker";

struct JobRun {
    std::vector<UINT> messages;  // posted to the page, up to and including the final one
    WPARAM finalParam = 0;       // the final message's wParam (WM_INSTALL_FAILED: why)
    std::vector<UINT> afterFinal;
    std::vector<TipRequest> tips;
};

// Starts the worker for a page window, collects what it posts until the
// final message, then lets the thread end as the page does.
JobRun RunJobOnThread() {
    PostedMessages page;
    ScriptedAnswerer answerer;
    JobRun run;
    CInstallThread* worker = StartInstallThread(page.Window());
    fw::UniqueHandle thread = worker != nullptr ? worker->DuplicateThreadHandle() : fw::UniqueHandle();
    MSG msg;
    while (GetMessageW(&msg, page.Window(), 0, 0) > 0) {
        if (msg.message < WM_USER) {
            DispatchMessageW(&msg);
            continue;
        }
        run.messages.push_back(msg.message);
        if (msg.message == WM_INSTALL_DONE || msg.message == WM_INSTALL_FAILED) {
            run.finalParam = msg.wParam;
            break;
        }
    }
    if (worker != nullptr) {
        worker->PostThreadMessage(WM_QUIT, 0, 0);
        WaitForSingleObject(thread.Get(), INFINITE);
    }
    run.afterFinal = page.Drain();
    run.tips = answerer.Requests();
    return run;
}

std::string Show(const std::vector<UINT>& messages) {
    std::string text;
    for (UINT m : messages) {
        text += " " + std::to_string(m - WM_USER);
    }
    return text;
}

size_t Count(const std::vector<UINT>& messages, UINT message) {
    return static_cast<size_t>(std::count(messages.begin(), messages.end(), message));
}

void FillSession(InstallSession& s, const JobMedium& medium) {
    s.setupFolder = medium.MediumPath() + L"\\";
    s.targetFolder = medium.target;
    s.productName = kProduct;
    s.productRegName = L"Korvanix";
    s.companyName = kCompany;
    s.languageCode = L"en_us";
    s.productVersion = L"21.0";
    s.product64Bit = 0;
    s.os64Bit = 1;
    s.office64Bit = 1;
    s.dotNetVersion = L"4.8";
    s.maintenanceMode = kModeInstall;
}

std::wstring CommonFilesMaker() {
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"CommonProgramFiles", folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + kCompany;
}

const std::vector<UINT> kFrame = {WM_PACKAGE_BEGIN, WM_PACKAGE_END};
const std::vector<UINT> kTip = {WM_TIP_OPENED, WM_TIP_CLOSED};

std::vector<UINT> Join(std::initializer_list<std::vector<UINT>> parts) {
    std::vector<UINT> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

}  // namespace

// A Modify of a 32-bit product on 64-bit Windows with 64-bit Office: the
// whole job, with a deselected "IFC Beta" and a ticked package whose list
// holds a program, a failing MSI package and the spreadsheet-table package.
TEST(InstallJob, ModifyRunsEveryStepInOrderAndReportsToThePage) {
    SessionScope session;
    RegistrySandbox sandbox;
    ShortcutCleanup shortcuts(kProduct, {kProduct});
    JobMedium m;
    m.PlaceStandardFiles();
    m.Program(L"files", L"a.exe");
    m.Package(L"b.msi", L"fixture_fail.msi");
    m.Package(L"AutoSheetgrid_x64.msi", L"fixture_fail.msi");
    m.medium.Write(L"Setup.ini",
                   "[SETUP]\r\nCLASSIC=0\r\n[packnum]\r\ncount=2\r\n[sub1]\r\nname=IFC Beta\r\ncheck=1\r\n"
                   "[sub2]\r\nname=P\r\ncheck=1\r\n");
    // The installed copy: the feature's modules, one of another feature,
    // the product program and a leftover uninstaller.
    for (const wchar_t* file : product::kIfcModules) {
        m.scratch.Write(L"Korv Target\\" + std::wstring(file), "module");
    }
    m.scratch.Write(L"Korv Target\\vezu.arx", "module");
    PlaceFakePackage(m.target + L"\\korv.exe");
    m.scratch.Write(L"Korv Target\\uninst.exe", "old");

    FillSession(*session, m);
    session->maintenanceMode = kModeModify;
    session->classicWorkspace = 1;
    PackageRecord ifc;
    ifc.name = L"IFC Beta";
    ifc.package = L"korv_ifc.exe";
    ifc.removeFlag = true;
    ifc.showFlag = 1;
    PackageRecord ticked;
    ticked.name = L"P";
    ticked.package = L"a.exe;b.msi;AutoSheetgrid_x86.msi";
    ticked.check = 1;
    session->packages = {ifc, ticked};
    session->packageCount = 2;
    const bool updateRuns = !InstallFacts::OfThisMachine(*session, false).windowsInstallerRegistered;

    JobRun run = RunJobOnThread();
    TempFolder::RemoveTree(CommonFilesMaker());

    // Programs, in order, with their command lines.
    const std::wstring S = m.MediumPath();
    const std::wstring T = m.target;
    std::vector<std::pair<std::wstring, std::wstring>> expected;
    if (updateRuns) {
        expected.push_back({L"WindowsInstaller-KB893803-v2-x86.exe",
                            L"\"" + S + L"\\Msi\\WindowsInstaller-KB893803-v2-x86.exe\" -q -norestart"});
    }
    for (const wchar_t* name : {L"vc_redist.x86.exe", L"vc_redist.x64.exe", L"vcredist_x64_10.exe"}) {
        expected.push_back({name, L"\"" + S + L"\\Msi\\" + name + L"\" -q -norestart"});
    }
    for (const wchar_t* name : {L"korv_kernel.exe", L"korv_korvfile.exe", L"korv_global.exe", L"korv_local.exe",
                                L"korv_resfile.exe", L"a.exe", L"korv_help.exe", L"korv_encryption.exe"}) {
        expected.push_back({name, L"\"" + S + L"\\files\\" + name + L"\" -passive -norestart"});
    }
    expected.push_back({L"kvninst_x86.exe", L"\"" + S + L"\\files\\kvninst_x86.exe\" /S /D=" + T});
    expected.push_back({L"korv.exe", L"\"" + T + L"\\korv.exe\" -Regserver -nologo"});
    expected.push_back({L"SetupWriter.exe", L"\"" + S + L"\\files\\SetupWriter.exe\" lang=en-us TARGETDIR=\"" + T +
                                                L"\" PRODUCTNAME=\"Korv Job Test\" VERSION=21.0 PLATFORM=x86 NUM=1 "
                                                L"WorkspaceName=0 COMPANYNAME=\"Korv Job Test Maker\" "
                                                L"PRODUCTREG=\"Korvanix\" -q"});
    const std::vector<JournalEntry> journal = m.Journal();
    ASSERT_EQ(journal.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(journal[i].name, expected[i].first) << i;
        EXPECT_EQ(journal[i].commandLine, expected[i].second) << Narrow(journal[i].name);
    }

    // Messages to the page. msxml6.msi and the spreadsheet-table package fail
    // silently, b.msi with its message; none of them stops the job.
    std::vector<UINT> expectedMessages = {WM_INSTALL_STARTED};
    if (updateRuns) {
        expectedMessages = Join({expectedMessages, kFrame});
    }
    expectedMessages = Join({expectedMessages, kFrame, kFrame, kFrame, {WM_PACKAGE_BEGIN},  // runtimes, msxml6.msi
                             kFrame, kFrame, kFrame, kFrame, kFrame,                       // product packages
                             kFrame, {WM_PACKAGE_BEGIN}, kTip, {WM_PACKAGE_BEGIN},         // a.exe, b.msi, table
                             kFrame, kFrame,                                               // help, encryption
                             kFrame, {WM_INSTALL_DONE}});
    EXPECT_EQ(run.messages, expectedMessages) << Show(run.messages);
    EXPECT_TRUE(run.afterFinal.empty()) << Show(run.afterFinal);
    // Every successful package run and the job's last step move the bar.
    EXPECT_EQ(Count(run.messages, WM_PACKAGE_END), 9u + 1 + 2 + 1 - 1 + (updateRuns ? 1 : 0));
    EXPECT_EQ(Session().installStage.load(), kStageSetupFiles);

    ASSERT_EQ(run.tips.size(), 1u);
    EXPECT_EQ(run.tips[0].text, ToLowerText(S + L"\\Msi\\b.msi") + L"Msi Install Failed!");

    // The deselected feature's modules are gone, nothing else.
    for (const wchar_t* file : product::kIfcModules) {
        EXPECT_FALSE(Exists(T + L"\\" + file)) << Narrow(file);
    }
    EXPECT_TRUE(Exists(T + L"\\vezu.arx"));
    EXPECT_FALSE(Exists(T + L"\\uninst.exe"));
    for (const wchar_t* file : {L"Setup.exe", L"IntallerRes.dll", L"KUninstall", L"Setup.ini"}) {
        EXPECT_TRUE(Exists(T + L"\\" + file)) << Narrow(file);
    }
    EXPECT_FALSE(Exists(T + L"\\KUninstall.exe"));
    // The choices and the workspace written back into the installed copy.
    const std::wstring ini = T + L"\\Setup.ini";
    EXPECT_EQ(GetPrivateProfileIntW(L"sub1", L"check", -1, ini.c_str()), 0);
    EXPECT_EQ(GetPrivateProfileIntW(L"sub2", L"check", -1, ini.c_str()), 1);
    EXPECT_EQ(GetPrivateProfileIntW(L"SETUP", L"CLASSIC", -1, ini.c_str()), 1);
    EXPECT_EQ(GetPrivateProfileIntW(L"sub1", L"check", -1, (S + L"\\Setup.ini").c_str()), 1) << "medium untouched";
    // The uninstall record.
    DWORD type = 0;
    DWORD number = 0;
    std::wstring location;
    EXPECT_TRUE(RegistrySandbox::Query(HKEY_LOCAL_MACHINE, kUninstallRoot + kProduct + L"_en_us", L"InstallLocation",
                                       type, location, number));
    EXPECT_EQ(location, T);
}

TEST(InstallJob, FailedStepEndsTheJobAfterItsMessages) {
    struct Case {
        const char* id;
        int mode;
        std::function<void(JobMedium&)> prepare;
        std::vector<std::pair<int, std::wstring>> tips;  // kind and text; {S} and {T} stand for the folders
        std::wstring lastStarted;                         // the journal's last program ("" none)
        std::vector<UINT> tail;                           // the messages before WM_INSTALL_FAILED
        WPARAM end = kJobFailed;                          // its wParam
    };
    const Case cases[] = {
        // The program ran and reported a failure: the job stops there.
        {"product package ends with 1603", kModeInstall,
         [](JobMedium& m) { m.medium.Write(L"files\\fakepkg.ini", "[korv_global.exe]\r\nexit_code=1603\r\n"); },
         {{kTipNotice, L"korv_global.exe Failed to install,Please reinstall!"}}, L"korv_global.exe",
         {WM_PACKAGE_END, WM_PACKAGE_BEGIN, WM_TIP_OPENED, WM_TIP_CLOSED}},
        {"prerequisite ends with 5100", kModeInstall,
         [](JobMedium& m) { m.medium.Write(L"Msi\\fakepkg.ini", "[vc_redist.x64.exe]\r\nexit_code=5100\r\n"); },
         {{kTipNotice, L"vc_redist.x64.exe Failed to install,Please reinstall!"}}, L"vc_redist.x64.exe",
         {WM_PACKAGE_END, WM_PACKAGE_BEGIN, WM_TIP_OPENED, WM_TIP_CLOSED}},
        {"missing product package", kModeInstall, [](JobMedium& m) { m.Remove(L"files", L"korv_global.exe"); },
         {{kTipNotice, L"File :'{S}\\files\\korv_global.exe' does not exist!"},
          {kTipNotice, L"korv_global.exe Failed to install,Please reinstall!"}},
         L"korv_korvfile.exe",
         {WM_PACKAGE_END, WM_PACKAGE_BEGIN, WM_TIP_OPENED, WM_TIP_CLOSED, WM_TIP_OPENED, WM_TIP_CLOSED}},
        {"first prerequisite missing", kModeInstall, [](JobMedium& m) { m.Remove(L"Msi", L"vc_redist.x86.exe"); },
         {{kTipNotice, L"File :'{S}\\Msi\\vc_redist.x86.exe' does not exist!"},
          {kTipNotice, L"vc_redist.x86.exe Failed to install,Please reinstall!"}},
         L"", {WM_PACKAGE_BEGIN, WM_TIP_OPENED, WM_TIP_CLOSED, WM_TIP_OPENED, WM_TIP_CLOSED}},
        // Every package is installed: the rest of the job still runs, and
        // the job ends as failed but kept.
        {"configuration program missing in a repair", kModeRepair,
         [](JobMedium& m) { m.Remove(L"files", L"SetupWriter.exe"); },
         {{kTipNotice, L"File :'{S}\\files\\SetupWriter.exe' does not exist!"},
          {kTipNotice, L"SetupWriter.exe Failed to install,Please reinstall!"}},
         L"kvninst_x86.exe", {WM_TIP_OPENED, WM_TIP_CLOSED, WM_TIP_OPENED, WM_TIP_CLOSED, WM_PACKAGE_END},
         kJobFailedInstalled},
        {"configuration program ends with 1", kModeRepair,
         [](JobMedium& m) { m.medium.Write(L"files\\fakepkg.ini", "[SetupWriter.exe]\r\nexit_code=1\r\n"); },
         {{kTipNotice, L"SetupWriter.exe Failed to install,Please reinstall!"}},
         L"SetupWriter.exe", {WM_TIP_OPENED, WM_TIP_CLOSED, WM_PACKAGE_END}, kJobFailedInstalled},
        {"product program cannot register", kModeInstall,
         [](JobMedium& m) { m.scratch.Write(L"Korv Target\\korv.exe", "not a program"); },
         {{kTipQuestion, L"korv.exe,Failed to Register,Please reinstall!"}}, L"kvninst_x86.exe",
         {WM_PACKAGE_BEGIN, WM_TIP_OPENED, WM_TIP_CLOSED}},
    };
    for (const Case& c : cases) {
        SessionScope session;
        RegistrySandbox sandbox;
        ShortcutCleanup shortcuts(kProduct, {kProduct});
        JobMedium m;
        m.PlaceStandardFiles();
        c.prepare(m);
        FillSession(*session, m);
        session->maintenanceMode = c.mode;
        JobRun run = RunJobOnThread();
        TempFolder::RemoveTree(CommonFilesMaker());

        ASSERT_EQ(run.tips.size(), c.tips.size()) << c.id;
        for (size_t i = 0; i < c.tips.size(); ++i) {
            std::wstring text = c.tips[i].second;
            if (size_t at = text.find(L"{S}"); at != std::wstring::npos) {
                text.replace(at, 3, m.MediumPath());
            }
            EXPECT_EQ(run.tips[i].kind, c.tips[i].first) << c.id << " " << i;
            EXPECT_EQ(run.tips[i].text, text) << c.id << " " << i;
            EXPECT_NE(run.tips[i].owner, nullptr) << c.id << ": owned by the page";
        }
        ASSERT_GE(run.messages.size(), c.tail.size() + 1) << c.id;
        EXPECT_EQ(run.messages.back(), WM_INSTALL_FAILED) << c.id;
        EXPECT_EQ(run.finalParam, c.end) << c.id;
        std::vector<UINT> tail(run.messages.end() - 1 - static_cast<long>(c.tail.size()), run.messages.end() - 1);
        EXPECT_EQ(tail, c.tail) << c.id << Show(run.messages);
        EXPECT_EQ(Count(run.messages, WM_INSTALL_DONE), 0u) << c.id;
        EXPECT_TRUE(run.afterFinal.empty()) << c.id;

        // The Windows Installer update runs first where its automation is
        // not registered; it is not what these rows are about.
        std::vector<std::wstring> started = Names(m.Journal());
        started.erase(std::remove(started.begin(), started.end(), L"WindowsInstaller-KB893803-v2-x86.exe"),
                      started.end());
        const std::wstring last = started.empty() ? L"" : started.back();
        EXPECT_EQ(last, c.lastStarted) << c.id;
    }
}

// Cancel confirmed on the page while a package runs: the package is waited
// for (never ended), nothing after it starts, and the job ends as cancelled
// without a failure message.
TEST(InstallJob, CancelStopsTheJobAtTheNextStep) {
    SessionScope session;
    RegistrySandbox sandbox;
    ShortcutCleanup shortcuts(kProduct, {kProduct});
    JobMedium m;
    m.PlaceStandardFiles();
    m.medium.Write(L"files\\fakepkg.ini", "[korv_korvfile.exe]\r\nsleep_ms=1500\r\n");
    FillSession(*session, m);
    std::thread person([&] {
        auto started = [&] {
            const std::vector<std::wstring> names = Names(m.Journal());
            return std::find(names.begin(), names.end(), L"korv_korvfile.exe") != names.end();
        };
        for (int i = 0; i < 200 && !started(); ++i) {
            Sleep(50);
        }
        session->cancelRequested = 1;
    });
    JobRun run = RunJobOnThread();
    person.join();
    TempFolder::RemoveTree(CommonFilesMaker());

    EXPECT_EQ(run.messages.back(), WM_INSTALL_FAILED);
    EXPECT_EQ(run.finalParam, kJobCancelled);
    EXPECT_TRUE(run.tips.empty()) << "a cancel is no failure to report";
    const std::vector<std::wstring> started = Names(m.Journal());
    ASSERT_FALSE(started.empty());
    EXPECT_EQ(started.back(), L"korv_korvfile.exe");
    EXPECT_EQ(Count(run.messages, WM_INSTALL_DONE), 0u);
}

// The Windows Installer reports 3010 for a package that installed and needs
// a restart to finish. Such a package is installed: the job goes on, no
// failure is shown, and the run remembers that a restart is needed. No
// package may restart the machine itself in the middle of the job.
TEST(InstallJob, PackageThatNeedsARestartCountsAsInstalled) {
    struct Case {
        const char* id;
        int product64Bit;
        const wchar_t* restartPackage;  // the name the restart fixture is placed under in Msi\ .
        std::wstring packageList;        // of a ticked package
    };
    const Case cases[] = {
        {"package loop item", 0, L"restart.msi", L"restart.msi;a.exe"},
        {"the 64-bit XML parser, whose failure ends the job", 1, L"msxml6_x64.msi", L"a.exe"},
    };
    for (const Case& c : cases) {
        SessionScope session;
        RegistrySandbox sandbox;
        ShortcutCleanup shortcuts(kProduct, {kProduct});
        RemoveFixtureProduct();
        JobMedium m;
        m.PlaceStandardFiles();
        m.Program(L"files", L"a.exe");
        m.Package(c.restartPackage, L"fixture_restart.msi");
        FillSession(*session, m);
        session->product64Bit = c.product64Bit;
        PackageRecord ticked;
        ticked.name = L"P";
        ticked.package = c.packageList;
        ticked.check = 1;
        session->packages = {ticked};
        session->packageCount = 1;

        JobRun run = RunJobOnThread();
        const std::wstring reboot = RestartFixtureRebootProperty();
        RemoveFixtureProduct();
        TempFolder::RemoveTree(CommonFilesMaker());

        EXPECT_TRUE(run.tips.empty()) << c.id << ": " << (run.tips.empty() ? "" : Narrow(run.tips[0].text));
        ASSERT_FALSE(run.messages.empty()) << c.id;
        EXPECT_EQ(run.messages.back(), WM_INSTALL_DONE) << c.id << Show(run.messages);
        const std::vector<std::wstring> started = Names(m.Journal());
        EXPECT_NE(std::find(started.begin(), started.end(), L"a.exe"), started.end()) << c.id;
        EXPECT_EQ(started.back(), c.product64Bit ? L"kvninst_x64.exe" : L"kvninst_x86.exe") << c.id;
        EXPECT_EQ(Session().restartNeeded.load(), 1) << c.id;
        EXPECT_EQ(reboot, L"ReallySuppress") << c.id;
        EXPECT_TRUE(Exists(m.target + L"\\Setup.exe")) << c.id << ": the installation was not rolled back";
    }
}

// Files on a DVD or an ISO image carry the read-only attribute. The copies in
// the installation folder must not: the choices are written back into the
// installed Setup.ini, and a later repair from a newer medium replaces the
// setup files, also over read-only copies an earlier setup left.
TEST(InstallJob, CopiesFromAReadOnlyMediumAreWritable) {
    SessionScope session;
    RegistrySandbox sandbox;
    ShortcutCleanup shortcuts(kProduct, {kProduct});
    JobMedium m;
    m.PlaceStandardFiles();
    m.medium.Write(L"Setup.ini", "[packnum]\r\ncount=1\r\n[sub1]\r\nname=P\r\ncheck=0\r\n");
    const wchar_t* const setupFiles[][2] = {{L"Setup.exe", L"Setup.exe"},
                                            {L"IntallerRes.dll", L"IntallerRes.dll"},
                                            {L"KUninstall.exe", L"KUninstall"},
                                            {L"Setup.ini", L"Setup.ini"}};
    for (const auto& file : setupFiles) {
        ASSERT_TRUE(SetFileAttributesW(m.In(L"", file[0]).c_str(), FILE_ATTRIBUTE_READONLY));
    }
    m.scratch.Write(L"Korv Target\\Setup.exe", "an older setup, read-only");
    ASSERT_TRUE(SetFileAttributesW((m.target + L"\\Setup.exe").c_str(), FILE_ATTRIBUTE_READONLY));

    FillSession(*session, m);
    session->maintenanceMode = kModeRepair;
    session->classicWorkspace = 1;
    PackageRecord ticked;
    ticked.name = L"P";
    ticked.check = 1;
    session->packages = {ticked};
    session->packageCount = 1;

    JobRun run = RunJobOnThread();
    TempFolder::RemoveTree(CommonFilesMaker());
    ASSERT_FALSE(run.messages.empty());
    EXPECT_EQ(run.messages.back(), WM_INSTALL_DONE) << Show(run.messages);

    for (const auto& file : setupFiles) {
        const std::wstring copy = m.target + L"\\" + file[1];
        const DWORD attributes = GetFileAttributesW(copy.c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << Narrow(file[1]);
        EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u) << Narrow(file[1]);
        if (std::wstring(file[0]) != L"Setup.ini") {
            EXPECT_EQ(ReadBytes(copy), ReadBytes(m.In(L"", file[0]))) << Narrow(file[1]);
        }
    }
    const std::wstring ini = m.target + L"\\Setup.ini";
    EXPECT_EQ(GetPrivateProfileIntW(L"sub1", L"check", -1, ini.c_str()), 1);
    EXPECT_EQ(GetPrivateProfileIntW(L"SETUP", L"CLASSIC", -1, ini.c_str()), 1);
}

// A package list longer than 259 characters is read whole and every item
// of it installed: cut, its last items would be lost without a word and the
// cut item handed to the Windows Installer.
TEST(InstallJob, LongPackageListRunsEveryItem) {
    SessionScope session;
    RegistrySandbox sandbox;
    ShortcutCleanup shortcuts(kProduct, {kProduct});
    JobMedium m;
    m.PlaceStandardFiles();
    std::string list;
    std::vector<std::wstring> items;
    for (int i = 1; i <= 50; ++i) {
        wchar_t item[16];
        swprintf(item, std::size(item), L"n%02d.exe", i);
        items.push_back(item);
        m.Program(L"files", item);
        list += (i == 1 ? "" : ";") + Narrow(item);
    }
    m.medium.Write(L"Setup.ini", "[packnum]\r\ncount=1\r\n[sub1]\r\nname=Many\r\ncheck=1\r\npackage=" + list + "\r\n");
    FillSession(*session, m);
    ReadPackageList(m.In(L"", L"Setup.ini"), *session);

    JobRun run = RunJobOnThread();
    TempFolder::RemoveTree(CommonFilesMaker());

    EXPECT_TRUE(run.tips.empty()) << (run.tips.empty() ? "" : Narrow(run.tips[0].text));
    ASSERT_FALSE(run.messages.empty());
    EXPECT_EQ(run.messages.back(), WM_INSTALL_DONE);
    std::vector<std::wstring> started = Names(m.Journal());
    std::vector<std::wstring> loop;
    std::copy_if(started.begin(), started.end(), std::back_inserter(loop),
                 [](const std::wstring& name) { return name.size() == 7 && name[0] == L'n'; });
    EXPECT_EQ(loop, items);
}

TEST(InstallJob, InstallationFolderMadeByAnyoneIsWritableOnlyByAdministratorsAndSystem) {
    // A folder someone made beforehand, with a file in it: the step gives
    // both the rights of a program folder. A missing folder is left alone.
    TempFolder folder(L"korv secure");
    const std::wstring T = folder / L"Korv";
    ASSERT_TRUE(CreateDirectoryW(T.c_str(), nullptr));
    folder.Write(L"Korv\\install.log", "planted");
    InstallStep secure;
    secure.kind = StepKind::kSecureInstallFolder;
    secure.path = T;
    InstallStep missing = secure;
    missing.path = folder / L"missing";
    ASSERT_EQ(ApplyInstallPlan({missing, secure}, nullptr, FailureReport::kSilent), JobOutcome::kDone);
    EXPECT_EQ(GetFileAttributesW(missing.path.c_str()), INVALID_FILE_ATTRIBUTES);
    // Wine keeps a file's rights as its Unix mode and passes nothing on to
    // what a folder holds: the file is looked at on Windows only.
    std::vector<std::wstring> paths = {T};
    if (!UnderWine()) {
        paths.push_back(T + L"\\install.log");
    }
    for (const std::wstring& path : paths) {
        const DaclView dacl = ReadDacl(path);
        ASSERT_TRUE(dacl.read) << Narrow(path);
        EXPECT_EQ(dacl.userEntries.find("Everyone"), std::string::npos) << Narrow(path) << " " << dacl.sddl;
        EXPECT_FALSE(dacl.usersMayWrite) << Narrow(path) << " " << dacl.sddl;
        EXPECT_TRUE(dacl.systemFull) << Narrow(path) << " " << dacl.sddl;
        if (!UnderWine()) {
            EXPECT_TRUE(dacl.adminsFull) << Narrow(path) << " " << dacl.sddl;
        }
    }
    if (!UnderWine()) {
        EXPECT_TRUE(ReadDacl(T).isProtected);
    }
}
