#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "session/ExitCodes.h"
#include "session/InstallSession.h"
#include "app/PreflightChecks.h"
#include "app/Startup.h"
#include "config/SetupConfig.h"
#include "fixtures/Fixtures.h"
#include "support/LogCapture.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"
#include "support/Text.h"

using namespace korv;
using korv::test::RegistrySandbox;
using korv::test::TempFolder;

namespace {

const std::wstring kWindowsNt = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
const std::wstring kUninstallKeys = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A machine that passes every start-up check: Windows 10, .NET 4.8.
void RegisterSupportedMachine() {
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kWindowsNt, L"CurrentVersion", L"6.3");
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kWindowsNt, L"ProductName", L"Windows 10 Pro");
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full",
                               L"Version", L"4.8.04084");
}

void RegisterCopy(const std::wstring& keyName, const wchar_t* platform, const std::wstring& folder) {
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kUninstallKeys + keyName, L"Platform", platform);
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kUninstallKeys + keyName, L"InstallLocation", folder);
}

struct RunOutcome {
    int exitCode;
    std::vector<TipRequest> messages;
    std::optional<RunMode> mode;
    std::vector<std::wstring> planLines;
};

RunOutcome RunStartup(const TempFolder& medium, const std::wstring& arguments, std::deque<TipAnswer> answers = {}) {
    Session().Reset();
    test::ScriptedAnswerer answerer(std::move(answers));
    Startup startup;
    int exitCode = startup.Run(medium / L"Setup.exe", L"\"" + (medium / L"Setup.exe") + L"\" " + arguments);
    RunOutcome run{exitCode, answerer.Requests(), startup.ChosenMode(), startup.PlanLines()};
    Session().Reset();
    return run;
}

// Another setup process: this test program started again with a filter that
// runs only MutexHolder, which holds the setup's mutex until told to let go.
class SecondSetupProcess {
public:
    SecondSetupProcess() {
        held_ = CreateEventW(nullptr, TRUE, FALSE, L"KorvTestMutexHeld");
        release_ = CreateEventW(nullptr, TRUE, FALSE, L"KorvTestMutexRelease");
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring line = L"\"" + std::wstring(self) + L"\" --gtest_filter=MutexHolder.HoldsTheSetupMutex";
        SetEnvironmentVariableW(L"KORV_HOLD_MUTEX", L"1");
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        started_ = CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_);
        SetEnvironmentVariableW(L"KORV_HOLD_MUTEX", nullptr);
    }
    ~SecondSetupProcess() {
        SetEvent(release_);
        if (started_) {
            WaitForSingleObject(process_.hProcess, 30000);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        CloseHandle(held_);
        CloseHandle(release_);
    }
    bool Holding() { return started_ && WaitForSingleObject(held_, 30000) == WAIT_OBJECT_0; }

private:
    HANDLE held_ = nullptr;
    HANDLE release_ = nullptr;
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

bool MutexIsFree() {
    HANDLE probe = CreateMutexW(nullptr, FALSE, L"Korvanix2024");
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    CloseHandle(probe);
    return !existed;
}

}  // namespace

TEST(Startup, FailedChecksShowTheirMessageAndEndWithTheirCode) {
    struct Case {
        const char* id;
        bool supportedMachine;
        const wchar_t* windowsVersion;  // overrides CurrentVersion when set
        bool setupIni;
        bool holdMutex;
        int kind;
        std::wstring textStart;
        int exitCode;
    };
    const Case cases[] = {
        {"old Windows", true, L"6.0", true, false, kTipNotice, L"The operating system version is too low", kExitFatal},
        {"no .NET", false, nullptr, true, false, kTipNotice, L"Microsoft .NET Framework 4.0", kExitFatal},
        {"second instance", true, nullptr, true, true, kTipQuestion, L"Another instance of this setup", kExitAnotherSetup},
        {"no Setup.ini", true, nullptr, false, false, kTipNotice, L"Error:The lack of configuration file :Setup.ini",
         kExitFatal},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        if (c.supportedMachine) {
            RegisterSupportedMachine();
        } else {
            RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kWindowsNt, L"CurrentVersion", L"6.3");
        }
        if (c.windowsVersion) {
            RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kWindowsNt, L"CurrentVersion", c.windowsVersion);
        }
        TempFolder medium(L"medium");
        if (c.setupIni) {
            medium.Write(L"Setup.ini", "[SETUP]\r\nVERSION=24.0\r\n");
        }
        std::unique_ptr<SecondSetupProcess> other;
        if (c.holdMutex) {
            other = std::make_unique<SecondSetupProcess>();
            ASSERT_TRUE(other->Holding()) << c.id;
        }

        RunOutcome run = RunStartup(medium, L"", {{kTipOk, kChoiceOk}});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.id;
        ASSERT_EQ(run.messages.size(), 1u) << c.id;
        EXPECT_EQ(run.messages[0].kind, c.kind) << c.id;
        EXPECT_EQ(run.messages[0].text.rfind(c.textStart, 0), 0u) << c.id;

        other.reset();
        EXPECT_TRUE(MutexIsFree()) << c.id << ": the run must not leave its mutex behind";
    }
}

// Another setup may hold the name in a way that gives this process no
// mutex at all: created with rights this process lacks, or as another kind
// of object. That is another setup running too, not a licence to go on.
TEST(Startup, MutexThatCannotBeCreatedCountsAsAnotherSetup) {
    RegistrySandbox sandbox;
    RegisterSupportedMachine();
    TempFolder medium(L"medium");
    medium.Write(L"Setup.ini", "[SETUP]\r\nWOW64=1\r\n");
    HANDLE squatter = CreateEventW(nullptr, TRUE, FALSE, L"Korvanix2024");
    ASSERT_NE(squatter, nullptr);
    ASSERT_EQ(CreateMutexW(nullptr, TRUE, L"Korvanix2024"), nullptr) << "the name is taken by an event";

    RunOutcome run = RunStartup(medium, L"", {{kTipOk, kChoiceOk}});
    CloseHandle(squatter);
    EXPECT_EQ(run.exitCode, kExitAnotherSetup);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].kind, kTipQuestion);
    EXPECT_EQ(run.messages[0].text.rfind(L"Another instance of this setup", 0), 0u);
    EXPECT_FALSE(run.mode.has_value());
}

TEST(Startup, SetupIniTooLargeToReadIsRefusedWithItsNotice) {
    RegistrySandbox sandbox;
    RegisterSupportedMachine();
    TempFolder medium(L"medium");
    medium.Write(L"Setup.ini", "[SETUP]\r\n" + std::string(kMaxSetupIniBytes, ';'));
    RunOutcome run = RunStartup(medium, L"", {{kTipOk, kChoiceOk}});
    EXPECT_EQ(run.exitCode, kExitFatal);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].text, L"Error:The configuration file Setup.ini is too large to be read");
    EXPECT_FALSE(run.mode.has_value());
    EXPECT_TRUE(MutexIsFree());
}

TEST(Startup, SetupIniNamesAndValuesThatLeaveTheirPlaceAreRefused) {
    struct Case {
        const char* id;
        std::string ini;
        std::wstring key;
    };
    const Case cases[] = {
        {"company name with a path", "[SETUP]\r\nCOMPANYNAME=..\\..\\Windows\r\n", L"[SETUP] COMPANYNAME"},
        {"company name with a quote", "[SETUP]\r\nCOMPANYNAME=Tall\" X=\"1\r\n", L"[SETUP] COMPANYNAME"},
        {"version with a second TARGETDIR", "[SETUP]\r\nVERSION=21.0 TARGETDIR=\"C:\\Windows\"\r\n",
         L"[SETUP] VERSION"},
        {"language with a blank", "[RES]\r\nLANGUAGE=en_us x=1\r\n", L"[RES] LANGUAGE"},
        {"shortcut folder with a slash", "[MigrateCustomSettings]\r\nMIGRATEFOLDERNAME=a/b\r\n",
         L"[MigrateCustomSettings] MIGRATEFOLDERNAME"},
        {"shortcut name with a backslash", "[MigrateCustomSettings]\r\nRESET=..\\Reset\r\n",
         L"[MigrateCustomSettings] RESET"},
        {"migration version with a quote", "[MigrateCustomSettings]\r\nVERSION=1' /x '2\r\n",
         L"[MigrateCustomSettings] VERSION"},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        RegisterSupportedMachine();
        TempFolder medium(L"medium");
        medium.Write(L"Setup.ini", c.ini);
        RunOutcome run = RunStartup(medium, L"", {{kTipOk, kChoiceOk}});
        EXPECT_EQ(run.exitCode, kExitFatal) << c.id;
        ASSERT_EQ(run.messages.size(), 1u) << c.id;
        EXPECT_EQ(run.messages[0].text, L"Error:The configuration file Setup.ini has an unusable value: " + c.key)
            << c.id;
        EXPECT_FALSE(run.mode.has_value()) << c.id;
        EXPECT_TRUE(MutexIsFree()) << c.id;
    }
}

// Runs only inside the second process that SecondSetupProcess starts.
TEST(MutexHolder, HoldsTheSetupMutex) {
    if (GetEnvironmentVariableW(L"KORV_HOLD_MUTEX", nullptr, 0) == 0) {
        GTEST_SKIP() << "only as the second process of a start-up test";
    }
    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Korvanix2024");
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"KorvTestMutexHeld");
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, L"KorvTestMutexRelease");
    ASSERT_NE(held, nullptr);
    ASSERT_NE(release, nullptr);
    SetEvent(held);
    WaitForSingleObject(release, 60000);
    CloseHandle(mutex);
    CloseHandle(held);
    CloseHandle(release);
}

TEST(Startup, ConflictingCopiesAreOfferedForUninstall) {
    struct Case {
        const char* id;
        const char* ini;
        std::wstring key;
        const wchar_t* platform;
        TipAnswer answer;
        std::wstring question;
        int exitCode;
        bool failureNotice;
    };
    const std::wstring own = L"Korvanix2024_en_us";
    const Case cases[] = {
        {"beta copy, cancel", "[SETUP]\r\nBETA=0\r\n", own + L" beta", L"x64", {kTipCancel, kChoiceCancel},
         L"Korvanix 2024 has been installed. You need to uninstall it", kExitUserDeclined, false},
        {"beta copy, OK, uninstall fails", "[SETUP]\r\nBETA=0\r\n", own + L" beta", L"x64", {kTipOk, kChoiceOk},
         L"Korvanix 2024 has been installed. You need to uninstall it", kExitFatal, true},
        {"released copy seen by a beta medium", "[SETUP]\r\nBETA=1\r\n", own, L"x86", {kTipCancel, kChoiceCancel},
         L"Korvanix 2024 has been installed. You need to uninstall it", kExitUserDeclined, false},
        {"32-bit medium, 64-bit copy", "[SETUP]\r\nWOW64=0\r\n", own, L"x64", {kTipCancel, kChoiceCancel},
         L"A 64-bit version of Korvanix 2024 has been installed , Please uninstall it before installing the 32-bit "
         L"version.You are trying to uninstall Korvanix.",
         kExitUserDeclined, false},
        {"64-bit medium, 32-bit copy", "[SETUP]\r\nWOW64=1\r\n", own, L"x86", {kTipCancel, kChoiceCancel},
         L"A 64-bit version of Korvanix 2024 has been installed , Please uninstall it before installing the 32-bit "
         L"version.You are trying to uninstall Korvanix.",
         kExitUserDeclined, false},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        RegisterSupportedMachine();
        TempFolder medium(L"medium");
        medium.Write(L"Setup.ini", std::string(c.ini) + "[RES]\r\nLANGUAGE=en_US\r\n");
        TempFolder installed(L"installed");
        RegisterCopy(c.key, c.platform, installed.Path());

        RunOutcome run = RunStartup(medium, L"", {c.answer, {kTipOk, kChoiceOk}});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.id;
        ASSERT_EQ(run.messages.size(), c.failureNotice ? 2u : 1u) << c.id;
        EXPECT_EQ(run.messages[0].kind, kTipQuestion) << c.id;
        EXPECT_EQ(run.messages[0].text.rfind(c.question, 0), 0u) << c.id;
        if (c.failureNotice) {
            EXPECT_EQ(run.messages[1].text, L"Failed to uninstall!") << c.id;
        }
        EXPECT_TRUE(MutexIsFree()) << c.id;
    }
}

TEST(Startup, PassedChecksLeadToTheRunModeOfInstalledStateAndWords) {
    struct Case {
        const char* id;
        bool registered;
        std::wstring words;
        RunMode mode;
    };
    const Case cases[] = {
        {"nothing installed", false, L"", RunMode::InteractiveInstall},
        {"same edition installed", true, L"", RunMode::Maintenance},
        {"quiet=0 stays interactive", true, L"quiet=0 TARGETDIR=D:\\X", RunMode::Maintenance},
    };
    // The unattended modes run a real install or uninstall; their whole runs
    // are tested with the engine. The wizard's sequences show pages: once they
    // exist, these runs answer them.
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        RegisterSupportedMachine();
        TempFolder medium(L"medium");
        medium.Write(L"Setup.ini", "[SETUP]\r\nWOW64=1\r\n[RES]\r\nLANGUAGE=en_US\r\n");
        TempFolder installed(L"installed");
        if (c.registered) {
            RegisterCopy(L"Korvanix2024_en_us", L"x64", installed.Path());
        }
        RunOutcome run = RunStartup(medium, c.words);
        ASSERT_TRUE(run.mode.has_value()) << c.id;
        EXPECT_EQ(*run.mode, c.mode) << c.id;
    }
}

TEST(Startup, UnusableTargetDirIsRefusedBeforeAnything) {
    RegistrySandbox sandbox;  // no Windows values, no .NET: any check would fail with a message
    TempFolder medium(L"medium");
    for (const wchar_t* words : {L"quiet=1 TARGETDIR=\"D:\\a\"x\" /S", L"TARGETDIR=D:\\a|b", L"TARGETDIR=\"\"",
                                 L"quiet=1 TARGETDIR=C:\\", L"quiet=1 TARGETDIR=Korv",
                                 L"quiet=1 Uninstall=1 TARGETDIR=\"C:\\\""}) {
        RunOutcome run = RunStartup(medium, words);
        EXPECT_EQ(run.exitCode, kExitBadCommandLine) << std::string(words, words + wcslen(words)).c_str();
        EXPECT_TRUE(run.messages.empty());
    }
    // In an interactive run TARGETDIR is not used, so it is not judged either.
    RunOutcome interactive = RunStartup(medium, L"quiet=0 TARGETDIR=D:\\a|b", {{kTipOk, kChoiceOk}});
    EXPECT_NE(interactive.exitCode, kExitBadCommandLine);
}

TEST(Startup, NumIsJudgedOnlyForAnUnattendedInstall) {
    RegistrySandbox sandbox;  // no .NET: a run that gets past the words ends at that check's notice
    TempFolder medium(L"medium");
    struct Case {
        const char* id;
        const wchar_t* words;
        bool refused;
    };
    const Case cases[] = {
        {"install", L"quiet=1 NUM=4x4", true},
        {"uninstall", L"quiet=1 Uninstall=1 NUM=4x4", false},
    };
    for (const Case& c : cases) {
        RunOutcome run = RunStartup(medium, c.words, {{kTipOk, kChoiceOk}});
        EXPECT_EQ(run.exitCode == kExitBadCommandLine, c.refused) << c.id;
        EXPECT_EQ(run.messages.empty(), c.refused) << c.id;
    }
}

TEST(Startup, RunningProductIsAskedAboutUntilClosed) {
    TempFolder folder(L"running");
    std::wstring korv = folder / L"korv.exe";
    ASSERT_TRUE(CopyFileW(test::FixturePath(L"fakepkg.exe").c_str(), korv.c_str(), FALSE));
    folder.Write(L"fakepkg.ini", "[default]\r\nsleep_ms=60000\r\n");
    SetEnvironmentVariableW(L"KORV_JOURNAL", (folder / L"journal.txt").c_str());

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::wstring line = L"\"" + korv + L"\"";
    ASSERT_TRUE(CreateProcessW(korv.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    ASSERT_NE(FindProcess(L"korv.exe"), 0u);
    EXPECT_EQ(FindProcess(L"KORV.EXE"), 0u) << "the search compares letter case";

    // Retry asks again; Force closed ends it and start-up goes on.
    test::ScriptedAnswerer answerer({{kTipOk, kChoiceOk}, {kTipOk, kChoiceForceClose}});
    EXPECT_TRUE(WaitForProductToClose());
    ASSERT_EQ(answerer.Requests().size(), 2u);
    EXPECT_TRUE(answerer.Requests()[0].retryMode);
    EXPECT_EQ(answerer.Requests()[0].text, L"Korvanix is running,please close the application and then try again.");
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(FindProcess(L"korv.exe"), 0u);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);

    // Cancel gives up, and a whole start-up run then ends as declined,
    // without its mutex.
    ASSERT_TRUE(CreateProcessW(korv.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    {
        test::ScriptedAnswerer cancel({{kTipCancel, kChoiceCancel}});
        EXPECT_FALSE(WaitForProductToClose());
    }
    {
        RegistrySandbox sandbox;
        RegisterSupportedMachine();
        TempFolder medium(L"medium");
        medium.Write(L"Setup.ini", "[SETUP]\r\n");
        RunOutcome run = RunStartup(medium, L"", {{kTipCancel, kChoiceCancel}});
        EXPECT_EQ(run.exitCode, kExitUserDeclined);
        ASSERT_EQ(run.messages.size(), 1u);
        EXPECT_TRUE(run.messages[0].retryMode);
        EXPECT_FALSE(run.mode.has_value());
        EXPECT_TRUE(MutexIsFree());
    }
    EXPECT_TRUE(TerminateProcesses(L"KORV.EXE")) << "ending ignores letter case";
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    SetEnvironmentVariableW(L"KORV_JOURNAL", nullptr);
}

// TerminateProcess only starts the end of a program, which may hold its
// files for a while after: Force closed goes on only once every ended
// korv.exe is gone, and one still there when the bound has passed counts as
// running (the retry question comes again).
TEST(Startup, ForceClosedWaitsUntilTheEndedProgramsAreGone) {
    TempFolder folder(L"running");
    std::wstring korv = folder / L"korv.exe";
    ASSERT_TRUE(CopyFileW(test::FixturePath(L"fakepkg.exe").c_str(), korv.c_str(), FALSE));
    folder.Write(L"fakepkg.ini", "[default]\r\nsleep_ms=60000\r\n");
    SetEnvironmentVariableW(L"KORV_JOURNAL", (folder / L"journal.txt").c_str());
    PROCESS_INFORMATION processes[2] = {};
    for (PROCESS_INFORMATION& process : processes) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        std::wstring line = L"\"" + korv + L"\"";
        ASSERT_TRUE(CreateProcessW(korv.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process));
    }
    SetEnvironmentVariableW(L"KORV_JOURNAL", nullptr);

    EXPECT_FALSE(WaitForProcessesToEnd({processes[0].hProcess}, 100)) << "a running program is not gone";
    HANDLE noWait = OpenProcess(PROCESS_TERMINATE, FALSE, processes[0].dwProcessId);
    ASSERT_NE(noWait, nullptr);
    EXPECT_FALSE(WaitForProcessesToEnd({noWait}, 0)) << "a handle that cannot be waited on proves nothing";
    CloseHandle(noWait);

    EXPECT_TRUE(TerminateProcesses(L"korv.exe"));
    for (PROCESS_INFORMATION& process : processes) {
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), static_cast<DWORD>(WAIT_OBJECT_0))
            << "gone when Force closed returns";
        TerminateProcess(process.hProcess, 0);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    EXPECT_EQ(FindProcess(L"korv.exe"), 0u);
}

// Windows 10, with .NET 4.8 or without any .NET.
void RegisterMachine(bool dotNet) {
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kWindowsNt, L"CurrentVersion", L"6.3");
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kWindowsNt, L"ProductName", L"Windows 10 Pro");
    if (dotNet) {
        RegisterSupportedMachine();
    }
}

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string Show(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const std::wstring& line : lines) {
        text += "\n  " + test::Narrow(line);
    }
    return text;
}

// PLAN=1 goes through start-up as a real run with the same words would, with
// every message answered unseen, and prints the chosen mode's steps instead
// of applying them: nothing is started, written or shown, and it ends with 0.
TEST(Startup, PlanRunPrintsWhatTheRunWouldDoAndDoesNothing) {
    struct Case {
        const char* id;
        bool dotNet;
        std::wstring words;
        std::vector<std::wstring> lines;  // {S} stands for the medium
    };
    const Case cases[] = {
        {"unattended install", true, L"PLAN=1 quiet=1 TARGETDIR=\"C:\\Korv Plan\\\"",
         {L"run mode: unattended install",
          L"    1. setup record: HKEY_LOCAL_MACHINE\\SOFTWARE\\Tallowick\\Korvanix\\Korvanix_Setup\\ (32-bit view): "
          L"path=C:\\Korv Plan, language, NUM, NetTest",
          L"    2. install.log: start anew: C:\\Korv Plan\\install.log",
          L"    6. package: \"{S}\\files\\korv_kernel.exe\" -passive -norestart",
          L"       on failure: missing (message \"File :'...' does not exist!\"), not startable or ends with a failure "
          L"code: rollback, the run ends (1603)"}},
        {"unattended uninstall", true, L"PLAN=1 quiet=1 Uninstall=1 TARGETDIR=\"C:\\Korv Plan\"",
         {L"run mode: unattended uninstall", L"    3. program, hidden: \"C:\\Korv Plan\\korv.exe\" -UnRegserver -nologo",
          L"       on failure: not startable (when it is not there, nothing is started and the step counts as done): "
          L"question \"korv.exe,Failed to Register,Please reinstall!\", the run goes on"}},
        {"interactive install", true, L"plan=1",
         {L"run mode: interactive install (the wizard)", L"    1. tell the page: WM_INSTALL_STARTED"}},
        {"refused words", true, L"PLAN=1 quiet=1 TARGETDIR=C:\\",
         {L"  the command line is refused: the run ends with exit code 1639"}},
        {"failed check, its notice unseen", false, L"PLAN=1 quiet=1",
         {L"  no .NET Framework found: the run ends with exit code 1603"}},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        RegisterMachine(c.dotNet);
        TempFolder medium(L"medium");
        medium.Write(L"Setup.ini", "[SETUP]\r\nCOMPANYNAME=Tallowick\r\nWOW64=1\r\n[RES]\r\nLANGUAGE=en_US\r\n");
        test::LogCapture log;

        RunOutcome run = RunStartup(medium, c.words, {{kTipOk, kChoiceOk}});
        EXPECT_EQ(run.exitCode, kExitSuccess) << c.id;
        EXPECT_TRUE(run.messages.empty()) << c.id;
        for (std::wstring line : c.lines) {
            const size_t at = line.find(L"{S}");
            if (at != std::wstring::npos) {
                line.replace(at, 3, medium.Path());
            }
            EXPECT_TRUE(Contains(run.planLines, line)) << c.id << ": " << test::Narrow(line) << Show(run.planLines);
        }
        EXPECT_FALSE(KeyExists(L"SOFTWARE\\Tallowick")) << c.id;
        EXPECT_EQ(GetFileAttributesW(L"C:\\Korv Plan"), INVALID_FILE_ATTRIBUTES) << c.id;
        EXPECT_TRUE(MutexIsFree()) << c.id;
        // The plan is in the log too, line by line.
        EXPECT_EQ(log.Starting(L"plan: ").size(), run.planLines.size()) << c.id;
        EXPECT_TRUE(log.Starting(L"started process").empty()) << c.id;
    }
}

// With SUPPRESSMSGBOXES=1 an unattended run never waits for a person: each
// message is answered unseen, and the exit code says how the run ended.
TEST(Startup, SuppressedMessagesEndAnUnattendedRunWithTheCodeOfTheirAnswer) {
    struct Case {
        const char* id;
        std::wstring words;
        bool dotNet;
        bool otherBuild;
        int exitCode;
        size_t shown;  // messages the answerer sees
    };
    const Case cases[] = {
        {"failed check: its notice is acknowledged", L"quiet=1 SUPPRESSMSGBOXES=1", false, false, kExitFatal, 0},
        {"other build installed: the question is declined, nothing uninstalled",
         L"quiet=1 SUPPRESSMSGBOXES=1 TARGETDIR=\"C:\\Korv Suppressed\"", true, true, kExitUserDeclined, 0},
        {"an interactive run shows its messages", L"SUPPRESSMSGBOXES=1", false, false, kExitFatal, 1},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        RegisterMachine(c.dotNet);
        TempFolder medium(L"medium");
        medium.Write(L"Setup.ini", "[SETUP]\r\nBETA=0\r\n[RES]\r\nLANGUAGE=en_US\r\n");
        TempFolder installed(L"installed");
        if (c.otherBuild) {
            RegisterCopy(L"Korvanix2024_en_us beta", L"x64", installed.Path());
        }
        test::LogCapture log;

        RunOutcome run = RunStartup(medium, c.words, {{kTipOk, kChoiceOk}});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.id;
        EXPECT_EQ(run.messages.size(), c.shown) << c.id;
        EXPECT_EQ(log.Starting(L"message not shown (SUPPRESSMSGBOXES=1)").size(), 1u - c.shown) << c.id;
        EXPECT_EQ(log.Starting(L"message answered").size(), c.shown) << c.id;
        EXPECT_TRUE(log.Starting(L"step ").empty()) << c.id << ": nothing uninstalled or installed";
        EXPECT_FALSE(MessagesSuppressed()) << c.id << ": only for the length of the run";
    }
}

TEST(Startup, HelpComesBeforeEverythingAndEndsWithZero) {
    RegistrySandbox sandbox;  // no Windows values, no .NET: any check would fail with a message
    TempFolder medium(L"medium");
    for (const wchar_t* words : {L"/?", L"HELP=1", L"help=1 quiet=1 TARGETDIR=C:\\", L"PLAN=1 /?"}) {
        RunOutcome run = RunStartup(medium, words, {{kTipOk, kChoiceOk}});
        const std::string id(words, words + wcslen(words));
        EXPECT_EQ(run.exitCode, kExitSuccess) << id;
        // This test program has a standard output: the help goes there.
        EXPECT_TRUE(run.messages.empty()) << id;
        EXPECT_FALSE(run.mode.has_value()) << id;
    }
    EXPECT_EQ(RunStartup(medium, L"HELP=2").exitCode, kExitBadCommandLine);
}

TEST(Startup, InfoPageAddress) {
    EXPECT_EQ(InfoPageAddress(L"https://ads.example/p", L"zh_cn", L"24.0"),
              L"https://ads.example/p?clientType=DF_Korvanix&channelNo=zh_cn&clientVersion=24.0");
    EXPECT_EQ(InfoPageAddress(L"", L"zh_cn", L"24.0"), L"");
}
