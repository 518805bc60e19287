// The unattended install driven through start-up, in this process, so the
// messages it shows reach the scripted answerer: a failed step ends the run
// with the fatal exit code and nothing is started after it.
#include <gtest/gtest.h>

#include <windows.h>

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
        {"product package missing", "1", L"msxml6_x64.msi", L"fixture_ok.msi", L"korv_global.exe",
         {L"File :'{S}\\files\\korv_global.exe' does not exist!"},
         {L"vc_redist.x64.exe", L"korv_kernel.exe", L"korv_korvfile.exe"}},
        // Unlike the page's job, the unattended install stops at a failed
        // msxml6.msi; its failure is silent.
        {"msxml6.msi fails", "0", L"msxml6.msi", L"fixture_fail.msi", nullptr, {},
         {L"vc_redist.x86.exe", L"vc_redist.x64.exe"}},
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
            text.replace(text.find(L"{S}"), 3, m.MediumPath());
            EXPECT_EQ(shown[i].text, text) << c.id;
            EXPECT_EQ(shown[i].kind, kTipNotice) << c.id;
            EXPECT_EQ(shown[i].owner, nullptr) << c.id << ": no page owns it";
        }
        EXPECT_EQ(Names(m.Journal()), c.started) << c.id;
        // The folder was recorded before anything was started.
        DWORD type = 0;
        DWORD number = 0;
        std::wstring path;
        EXPECT_TRUE(RegistrySandbox::Query(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KorvUnattendedTest\\Korvanix\\Korvanix_Setup",
                                           L"path", type, path, number))
            << c.id;
        EXPECT_EQ(path, m.target) << c.id;
        EXPECT_FALSE(Exists(m.target + L"\\Setup.exe")) << c.id << ": no setup file copied";
        Session().Reset();
    }
}
