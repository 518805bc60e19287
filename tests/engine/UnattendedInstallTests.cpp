// The unattended install driven through start-up, in this process, so the
// messages it shows reach the scripted answerer: a failed step ends the run
// with the fatal exit code, nothing is started after it, and the new
// installation is rolled back (KUninstall quietly, waited for).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "session/ExitCodes.h"
#include "session/InstallSession.h"
#include "app/Startup.h"
#include "session/TipMessage.h"
#include "engine/JobTestSupport.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"

using namespace korv;
using namespace korv::test;

namespace {

const std::wstring kWindowsNt = L"Software\\Microsoft\\Windows NT\\CurrentVersion";

void RegisterSupportedMachine() {
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kWindowsNt, L"CurrentVersion", L"6.3");
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kWindowsNt, L"ProductName", L"Windows 10 Pro");
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full",
                               L"Version", L"4.8.04084");
}

}  // namespace

TEST(UnattendedInstall, FailedStepEndsTheRunWithTheFatalCode) {
    struct Case {
        const char* id;
        const char* wow64;
        const wchar_t* parserName;     // the XML parser package of the edition
        const wchar_t* parserFixture;
        const wchar_t* removedProgram;  // from files\, or null
        std::vector<std::wstring> messages;  // {S} stands for the medium
        std::vector<std::wstring> started;
    };
    const Case cases[] = {
        // The runner's own notice tells of it; no second one follows.
        {"product package missing", "1", L"msxml6_x64.msi", L"fixture_ok.msi", L"korv_global.exe",
         {L"File :'{S}\\files\\korv_global.exe' does not exist!"},
         {L"vc_redist.x64.exe", L"korv_kernel.exe", L"korv_korvfile.exe", L"KUninstall.exe"}},
        // Unlike the page's job, the unattended install stops at a failed
        // msxml6.msi, whose own failure is silent: the run's notice tells.
        {"msxml6.msi fails", "0", L"msxml6.msi", L"fixture_fail.msi", nullptr,
         {L"msxml6.msi Failed to install,Please reinstall!"},
         {L"vc_redist.x86.exe", L"vc_redist.x64.exe", L"KUninstall.exe"}},
    };
    for (const Case& c : cases) {
        Session().Reset();
        RegistrySandbox sandbox;
        RegisterSupportedMachine();
        RemoveFixtureProduct();
        JobMedium m;
        m.PlaceStandardFiles();
        m.Package(c.parserName, c.parserFixture);
        if (c.removedProgram != nullptr) {
            m.Remove(L"files", c.removedProgram);
        }
        m.medium.Write(L"Setup.ini", std::string("[SETUP]\r\nCOMPANYNAME=KorvUnattendedTest\r\nWOW64=") + c.wow64 +
                                         "\r\n[RES]\r\nLANGUAGE=en_US\r\n");
        const std::wstring program = m.In(L"", L"Setup.exe");

        int exitCode = 0;
        std::vector<TipRequest> shown;
        {
            ScriptedAnswerer answerer;
            Startup startup;
            exitCode = startup.Run(program, L"\"" + program + L"\" quiet=1 TARGETDIR=\"" + m.target + L"\\\"");
            shown = answerer.Requests();
        }
        RemoveFixtureProduct();

        EXPECT_EQ(exitCode, kExitFatal) << c.id;
        ASSERT_EQ(shown.size(), c.messages.size()) << c.id;
        for (size_t i = 0; i < shown.size(); ++i) {
            std::wstring text = c.messages[i];
            if (const size_t at = text.find(L"{S}"); at != std::wstring::npos) {
                text.replace(at, 3, m.MediumPath());
            }
            EXPECT_EQ(shown[i].text, text) << c.id;
            EXPECT_EQ(shown[i].kind, kTipNotice) << c.id;
            EXPECT_EQ(shown[i].owner, nullptr) << c.id << ": no page owns it";
        }
        EXPECT_EQ(Names(m.Journal()), c.started) << c.id;
        // The rollback took the setup record away with the installation.
        DWORD type = 0;
        DWORD number = 0;
        std::wstring path;
        EXPECT_FALSE(RegistrySandbox::Query(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KorvUnattendedTest\\Korvanix\\Korvanix_Setup",
                                            L"path", type, path, number))
            << c.id;
        EXPECT_FALSE(Exists(m.target + L"\\Setup.exe")) << c.id << ": no setup file copied";
        Session().Reset();
    }
}

namespace {

struct UnattendedRun {
    int exitCode = 0;
    std::vector<TipRequest> shown;
};

UnattendedRun RunUnattended(const JobMedium& m, const std::wstring& words) {
    const std::wstring program = m.In(L"", L"Setup.exe");
    UnattendedRun run;
    ScriptedAnswerer answerer;
    Startup startup;
    run.exitCode = startup.Run(program, L"\"" + program + L"\" " + words);
    run.shown = answerer.Requests();
    return run;
}

}  // namespace

// A deployment tool learns from the exit code that the machine must restart
// to finish: 3010, as the Windows Installer itself reports it, after every
// step ran.
TEST(UnattendedInstall, PackageThatNeedsARestartEndsTheRunWith3010) {
    Session().Reset();
    RegistrySandbox sandbox;
    RegisterSupportedMachine();
    RemoveFixtureProduct();
    JobMedium m;
    m.PlaceStandardFiles();
    m.Package(L"msxml6_x64.msi", L"fixture_restart.msi");
    m.medium.Write(L"Setup.ini", "[SETUP]\r\nCOMPANYNAME=KorvUnattendedTest\r\nWOW64=1\r\n[RES]\r\nLANGUAGE=en_US\r\n");

    UnattendedRun run = RunUnattended(m, L"quiet=1 TARGETDIR=\"" + m.target + L"\\\"");
    const std::wstring reboot = RestartFixtureRebootProperty();
    RemoveFixtureProduct();

    EXPECT_EQ(run.exitCode, kExitRestartRequired);
    EXPECT_TRUE(run.shown.empty());
    const std::vector<std::wstring> started = Names(m.Journal());
    ASSERT_FALSE(started.empty());
    EXPECT_EQ(started.back(), L"SetupWriter_x64.exe") << "every step ran";
    EXPECT_EQ(reboot, L"ReallySuppress");
    Session().Reset();
}

// Every started program's exit code counts: the deployment tool reads 0
// only when everything was done. A failed package stops the run, which is
// rolled back quietly and waited for, from a folder of its own: nothing is
// written into the medium.
TEST(UnattendedInstall, ExitCodesOfThePackagesDecideTheRun) {
    struct Case {
        const char* id;
        const char* steering;   // fakepkg.ini of files\ and Msi\ (one text for both)
        int exitCode;
        const wchar_t* lastBeforeRollback;  // the last program before KUninstall; null: no rollback
        bool shown;             // a notice tells of the failure
    };
    const Case cases[] = {
        {"product package ends with 1603", "[korv_global.exe]\r\nexit_code=1603\r\n", kExitFatal, L"korv_global.exe",
         true},
        {"product package asks for a restart", "[korv_global.exe]\r\nexit_code=3010\r\n", kExitRestartRequired,
         nullptr, false},
        {"prerequisite already there in another version", "[vc_redist.x64.exe]\r\nexit_code=1638\r\n",
         kExitSuccess, nullptr, false},
        {"configuration program fails: the copy stays", "[SetupWriter_x64.exe]\r\nexit_code=2\r\n", kExitFatal,
         nullptr, true},
    };
    for (const Case& c : cases) {
        Session().Reset();
        RegistrySandbox sandbox;
        RegisterSupportedMachine();
        RemoveFixtureProduct();
        JobMedium m;
        m.PlaceStandardFiles();
        m.Package(L"msxml6_x64.msi", L"fixture_ok.msi");
        m.medium.Write(L"files\\fakepkg.ini", c.steering);
        m.medium.Write(L"Msi\\fakepkg.ini", c.steering);
        m.medium.Write(L"Setup.ini",
                       "[SETUP]\r\nCOMPANYNAME=KorvUnattendedTest\r\nWOW64=1\r\n[RES]\r\nLANGUAGE=en_US\r\n");
        const std::vector<std::wstring> mediumBefore = FilesIn(m.MediumPath());

        UnattendedRun run = RunUnattended(m, L"quiet=1 SUPPRESSMSGBOXES=0 TARGETDIR=\"" + m.target + L"\\\"");
        RemoveFixtureProduct();

        EXPECT_EQ(run.exitCode, c.exitCode) << c.id;
        EXPECT_EQ(run.shown.empty(), !c.shown) << c.id;
        const std::vector<std::wstring> started = Names(m.Journal());
        ASSERT_FALSE(started.empty()) << c.id;
        if (c.lastBeforeRollback != nullptr) {
            ASSERT_GE(started.size(), 2u) << c.id;
            EXPECT_EQ(started.back(), L"KUninstall.exe") << c.id;
            EXPECT_EQ(started[started.size() - 2], c.lastBeforeRollback) << c.id << ": a later package ran";
            const std::wstring line = m.Journal().back().commandLine;
            const std::wstring suffix = L"\\KUninstall.exe\" /quiet /norestart";
            ASSERT_GT(line.size(), suffix.size()) << c.id;
            EXPECT_EQ(line.substr(line.size() - suffix.size()), suffix) << c.id;
            EXPECT_NE(line.find(m.MediumPath()), 1u) << c.id << ": the rollback ran from the medium";
        } else {
            EXPECT_EQ(std::count(started.begin(), started.end(), L"KUninstall.exe"), 0) << c.id;
            EXPECT_EQ(started.back(), L"SetupWriter_x64.exe") << c.id << ": every step ran";
        }
        EXPECT_EQ(FilesIn(m.MediumPath()), mediumBefore) << c.id << ": something was written into the medium";
        Session().Reset();
    }
}

// Another product of the maker already made the folder under Common Files,
// so the installation itself creates no folder that would be logged: the copy
// still gets an install.log, and can be uninstalled unattended.
TEST(UnattendedInstall, ACopyThatLoggedNothingCanBeUninstalled) {
    Session().Reset();
    RegistrySandbox sandbox;
    RegisterSupportedMachine();
    RemoveFixtureProduct();
    JobMedium m;
    m.PlaceStandardFiles();
    m.Package(L"msxml6_x64.msi", L"fixture_ok.msi");
    // The product packages make the folder, as the real ones do.
    m.medium.Write(L"files\\fakepkg.ini",
                   "[korv_kernel.exe]\r\nfolder_key=SOFTWARE\\KorvUnattendedTest\\Korvanix\\Korvanix_Setup\r\n"
                   "folder_value=path\r\n");
    m.medium.Write(L"Setup.ini", "[SETUP]\r\nCOMPANYNAME=KorvUnattendedTest\r\nWOW64=1\r\n[RES]\r\nLANGUAGE=en_US\r\n");
    wchar_t common[MAX_PATH] = {};
    GetEnvironmentVariableW(L"CommonProgramFiles", common, MAX_PATH);
    const std::wstring maker = std::wstring(common) + L"\\KorvUnattendedTest";
    CreateDirectoryW(maker.c_str(), nullptr);

    UnattendedRun run = RunUnattended(m, L"quiet=1 TARGETDIR=\"" + m.target + L"\\\"");
    EXPECT_EQ(run.exitCode, kExitSuccess);
    EXPECT_TRUE(Exists(m.target + L"\\install.log"));

    Session().Reset();
    // The installed copy's KUninstall, handed the log, is waited for.
    PlaceFakePackage(m.target + L"\\KUninstall");
    run = RunUnattended(m, L"quiet=1 Uninstall=1 TARGETDIR=\"" + m.target + L"\\\"");
    RemoveFixtureProduct();
    TempFolder::RemoveTree(maker);
    EXPECT_EQ(run.exitCode, kExitSuccess);
    const std::vector<std::wstring> started = Names(m.Journal());
    ASSERT_FALSE(started.empty());
    EXPECT_EQ(started.back(), L"KUninstall.exe");
    Session().Reset();
}

// Fifty package items of eight characters make a list longer than 259:
// every one of them is installed, and the run reports success only then.
TEST(UnattendedInstall, EveryPackageOfALongListIsInstalled) {
    Session().Reset();
    RegistrySandbox sandbox;
    RegisterSupportedMachine();
    RemoveFixtureProduct();
    JobMedium m;
    m.PlaceStandardFiles();
    m.Package(L"msxml6_x64.msi", L"fixture_ok.msi");
    std::string list;
    std::vector<std::wstring> items;
    for (int i = 1; i <= 50; ++i) {
        wchar_t item[16];
        swprintf(item, std::size(item), L"n%02d.exe", i);
        items.push_back(item);
        m.Program(L"files", item);
        list += (i == 1 ? "" : ";") + Narrow(item);
    }
    m.medium.Write(L"Setup.ini", "[SETUP]\r\nCOMPANYNAME=KorvUnattendedTest\r\nWOW64=1\r\n[RES]\r\nLANGUAGE=en_US\r\n"
                                 "[packnum]\r\ncount=1\r\n[sub1]\r\nname=Many\r\ncheck=1\r\npackage=" +
                                     list + "\r\n");

    UnattendedRun run = RunUnattended(m, L"quiet=1 TARGETDIR=\"" + m.target + L"\\\"");
    RemoveFixtureProduct();

    EXPECT_EQ(run.exitCode, kExitSuccess);
    EXPECT_TRUE(run.shown.empty()) << (run.shown.empty() ? "" : Narrow(run.shown[0].text));
    std::vector<std::wstring> started = Names(m.Journal());
    std::vector<std::wstring> loop;
    std::copy_if(started.begin(), started.end(), std::back_inserter(loop),
                 [](const std::wstring& name) { return name.size() == 7 && name[0] == L'n'; });
    EXPECT_EQ(loop, items);
    Session().Reset();
}
