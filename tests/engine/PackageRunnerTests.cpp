// The runners start real programs (copies of fakepkg.exe, which journals its
// exact command line) and the system's regsvr32.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "session/TipMessage.h"
#include "engine/EngineTestSupport.h"
#include "engine/PackageRunner.h"
#include "engine/ProcessWait.h"
#include "session/ProgressMessages.h"
#include "fixtures/Journal.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;
using korv::test::JournalEntry;
using korv::test::JournalVariable;
using korv::test::PlaceFakePackage;
using korv::test::PostedMessages;
using korv::test::ReadJournal;
using korv::test::ScriptedAnswerer;
using korv::test::SessionScope;
using korv::test::TempFolder;

namespace {

// A medium with blanks and a letter outside ASCII in its path; Msi\ and
// files\ hold fake packages.
struct Medium {
    TempFolder folder{L"korv medium \u00e9"};
    std::wstring journal = folder / L"journal.txt";

    std::wstring Place(const std::wstring& subfolder, const std::wstring& name) {
        CreateDirectoryW((folder / subfolder).c_str(), nullptr);
        const std::wstring path = folder / (subfolder + L"\\" + name);
        EXPECT_TRUE(PlaceFakePackage(path)) << Narrow(path);
        return path;
    }
    // Every fake package in subfolder ends with this exit code (after
    // sleeping that long).
    void Steer(const std::wstring& subfolder, unsigned long exitCode, int sleepMs = 0) {
        folder.Write(subfolder + L"\\fakepkg.ini", "[default]\r\nexit_code=" + std::to_string(exitCode) +
                                                      "\r\nsleep_ms=" + std::to_string(sleepMs) + "\r\n");
    }
};

}  // namespace

TEST(ProgramRunners, StartTheExactCommandLineAndReportTheRun) {
    SessionScope session;
    Medium medium;
    JournalVariable journal(medium.journal);
    PostedMessages progress;
    PostedMessages owner;
    ScriptedAnswerer answerer;

    const std::wstring prerequisite = medium.Place(L"Msi", L"vc_redist.x64.exe");
    const std::wstring package = medium.Place(L"files", L"korv_kernel.exe");
    const std::wstring collaboration = medium.Place(L"files", L"kvninst_x64.exe");
    const std::wstring program = medium.Place(L"Korvanix 2024", L"korv.exe");
    const HWND w = progress.Window();
    const HWND o = owner.Window();

    struct Case {
        const char* id;
        std::function<int()> run;
        std::wstring name;
        std::wstring commandLine;
        std::vector<UINT> posted;
    };
    const std::vector<UINT> frame = {WM_PACKAGE_BEGIN, WM_PACKAGE_END};
    const Case cases[] = {
        {"prerequisite", [&] { return RunPrerequisite(prerequisite, w); }, L"vc_redist.x64.exe",
         L"\"" + prerequisite + L"\" -q -norestart", frame},
        {"product package", [&] { return RunProductPackage(package, w, o); }, L"korv_kernel.exe",
         L"\"" + package + L"\" -passive -norestart", frame},
        {"product package without progress window", [&] { return RunProductPackage(package, nullptr, o); },
         L"korv_kernel.exe", L"\"" + package + L"\" -passive -norestart", {}},
        // The installation folder goes last and unquoted, blanks and all.
        {"collaboration installer",
         [&] { return RunWithArguments(collaboration, L" /S /D=C:\\Program Files\\Tallowick\\Korvanix 2024", nullptr, o); },
         L"kvninst_x64.exe", L"\"" + collaboration + L"\" /S /D=C:\\Program Files\\Tallowick\\Korvanix 2024", {}},
        {"arguments with progress window", [&] { return RunWithArguments(collaboration, L" /S", w, o); },
         L"kvninst_x64.exe", L"\"" + collaboration + L"\" /S", frame},
        {"hidden program", [&] { return RunHidden(program, L" -Regserver -nologo", ProgramRole::kInstallStep); }, L"korv.exe",
         L"\"" + program + L"\" -Regserver -nologo", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const size_t before = ReadJournal(medium.journal).size();
        EXPECT_EQ(c.run(), 1);
        const std::vector<JournalEntry> entries = ReadJournal(medium.journal);
        ASSERT_EQ(entries.size(), before + 1);
        EXPECT_EQ(entries.back().name, c.name);
        EXPECT_EQ(entries.back().commandLine, c.commandLine);
        EXPECT_EQ(progress.Drain(), c.posted);
        EXPECT_TRUE(owner.Drain().empty());
    }
    EXPECT_TRUE(answerer.Requests().empty());
}

// One table decides what a started program's exit code means; every runner
// goes by it, and a restart request is remembered for the run's exit code.
TEST(ProgramRunners, ExitCodesDecideWhetherTheStepIsDone) {
    Medium medium;
    JournalVariable journal(medium.journal);
    const std::wstring prerequisite = medium.Place(L"Msi", L"vc_redist.x64.exe");
    const std::wstring package = medium.Place(L"files", L"korv_kernel.exe");
    const std::wstring configurator = medium.Place(L"files", L"SetupWriter_x64.exe");
    const std::wstring program = medium.Place(L"T", L"korv.exe");

    struct Case {
        const char* id;
        unsigned long exitCode;
        int prerequisite;  // RunPrerequisite's result
        int others;        // the result of every other runner
        int restart;       // Session().restartNeeded afterwards
    };
    const Case cases[] = {
        {"0", 0, 1, 1, 0},
        {"3010 restart required", 3010, 1, 1, 1},
        {"1641 restart started", 1641, 1, 1, 1},
        // Another version of a runtime is there already; for the product's
        // own packages it is a failure.
        {"1638 another version", 1638, 1, 0, 0},
        {"1603", 1603, 0, 0, 0},
        {"1602 cancelled", 1602, 0, 0, 0},
        {"1", 1, 0, 0, 0},
        {"negative (0xC0000005)", 0xC0000005ul, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        for (const wchar_t* folder : {L"Msi", L"files", L"T"}) {
            medium.Steer(folder, c.exitCode);
        }
        struct Run {
            const char* name;
            std::function<int()> run;
            int expected;
        };
        const Run runs[] = {
            {"prerequisite", [&] { return RunPrerequisite(prerequisite, nullptr); }, c.prerequisite},
            {"product package", [&] { return RunProductPackage(package, nullptr, nullptr); }, c.others},
            {"arguments", [&] { return RunWithArguments(package, L" /S", nullptr, nullptr); }, c.others},
            {"configurator", [&] { return RunConfigurator(configurator, nullptr); }, c.others},
            {"hidden, self-registration", [&] { return RunHidden(program, L" -Regserver", ProgramRole::kInstallStep); },
             c.others},
            // The uninstall's clean-up: KUninstall removes what it leaves.
            {"hidden, not judged", [&] { return RunHidden(program, L" -UnRegserver", ProgramRole::kNotJudged); }, 1},
        };
        for (const Run& r : runs) {
            SessionScope session;
            ScriptedAnswerer answerer;
            session->targetFolder = L"C:\\T";
            EXPECT_EQ(r.run(), r.expected) << r.name;
            const int restart = r.expected == 1 && std::string(r.name) != "hidden, not judged" ? c.restart : 0;
            EXPECT_EQ(session->restartNeeded.load(), restart) << r.name;
            EXPECT_TRUE(answerer.Requests().empty()) << r.name << ": the runner tells nothing; its caller does";
        }
    }
}

bool ProcessRuns(const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        found = lstrcmpiW(entry.szExeFile, name) == 0;
    }
    CloseHandle(snapshot);
    return found;
}

// PACKAGETIMEOUT: a program that runs longer is left running and its step fails.
TEST(ProgramRunners, AProgramPastTheTimeoutIsLeftRunningAndFails) {
    SessionScope session;
    Medium medium;
    JournalVariable journal(medium.journal);
    const std::wstring package = medium.Place(L"files", L"korv_kernel.exe");
    medium.Steer(L"files", 0, 4000);
    session->packageTimeoutMs = 300;
    EXPECT_EQ(RunProductPackage(package, nullptr, nullptr), 0);
    EXPECT_TRUE(ProcessRuns(L"korv_kernel.exe")) << "the runner waited for the program's end, or ended it";
    for (int i = 0; i < 100 && ProcessRuns(L"korv_kernel.exe"); ++i) {
        Sleep(100);
    }
    EXPECT_EQ(ReadJournal(medium.journal).size(), 1u);
}

TEST(ProgramRunners, ConfiguratorGetsTheSessionSettings) {
    SessionScope session;
    Medium medium;
    JournalVariable journal(medium.journal);
    PostedMessages progress;
    const std::wstring configurator = medium.Place(L"files", L"SetupWriter_x64.exe");

    session->product64Bit = 1;
    session->classicWorkspace = 1;
    session->languageCode = L"zh_cn";
    session->numValue = 1;
    session->productVersion = L"21.0";
    session->targetFolder = L"C:\\Program Files\\Tallowick\\Korvanix 2024\\\\";
    session->productName = L"Korvanix2024";
    session->companyName = L"Tallowick Company";
    session->productRegName = L"Korvanix";

    EXPECT_EQ(RunConfigurator(configurator, progress.Window()), 1);
    EXPECT_EQ(session->targetFolder, L"C:\\Program Files\\Tallowick\\Korvanix 2024");
    const std::vector<JournalEntry> entries = ReadJournal(medium.journal);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].commandLine,
              L"\"" + configurator +
                  L"\" lang=zh-cn TARGETDIR=\"C:\\Program Files\\Tallowick\\Korvanix 2024\" "
                  L"PRODUCTNAME=\"Korvanix2024\" VERSION=21.0 PLATFORM=x64 NUM=1 WorkspaceName=0 "
                  L"COMPANYNAME=\"Tallowick Company\" PRODUCTREG=\"Korvanix\" -q");
    EXPECT_TRUE(progress.Drain().empty()) << "the configuration program is no progress step";

    // The other branches of the settings.
    session->product64Bit = 0;
    session->classicWorkspace = 0;
    session->numValue = 44;
    session->languageCode = L"en_us_x";
    EXPECT_EQ(ConfiguratorCommandLine(L"C:\\m\\SetupWriter.exe", *session),
              L"\"C:\\m\\SetupWriter.exe\" lang=en-us-x TARGETDIR=\"C:\\Program Files\\Tallowick\\Korvanix 2024\" "
              L"PRODUCTNAME=\"Korvanix2024\" VERSION=21.0 PLATFORM=x86 NUM=44 WorkspaceName=1 "
              L"COMPANYNAME=\"Tallowick Company\" PRODUCTREG=\"Korvanix\" -q");
}

TEST(ProgramRunners, MissingFilesAreReportedOrCountedAsDone) {
    SessionScope session;
    TempFolder folder(L"korv missing");
    const std::wstring journalPath = folder / L"journal.txt";
    JournalVariable journal(journalPath);
    PostedMessages progress;
    PostedMessages owner;
    const HWND w = progress.Window();
    const HWND o = owner.Window();
    const std::wstring missing = folder / L"files\\korv_kernel.exe";
    const std::wstring message = L"File :'" + missing + L"' does not exist!";
    const std::vector<UINT> tip = {WM_TIP_OPENED, WM_TIP_CLOSED};
    const std::vector<UINT> beginThenTip = {WM_PACKAGE_BEGIN, WM_TIP_OPENED, WM_TIP_CLOSED};

    struct Case {
        const char* id;
        std::function<int()> run;
        int result;
        bool message;            // notice 2005 with the path
        HWND messageOwner;
        std::vector<UINT> toW;   // posted to the progress window, in order
        std::vector<UINT> toO;
    };
    const Case cases[] = {
        {"prerequisite", [&] { return RunPrerequisite(missing, w); }, 0, true, w, beginThenTip, {}},
        {"prerequisite without window", [&] { return RunPrerequisite(missing, nullptr); }, 0, true, nullptr, {}, {}},
        {"product package: progress window owns", [&] { return RunProductPackage(missing, w, o); }, 0, true, w,
         beginThenTip, {}},
        {"product package: owner without progress window", [&] { return RunProductPackage(missing, nullptr, o); },
         0, true, o, {}, tip},
        {"arguments: owner without progress window",
         [&] { return RunWithArguments(missing, L" /S /D=C:\\x", nullptr, o); }, 0, true, o, {}, tip},
        {"configurator posts no step", [&] { return RunConfigurator(missing, w); }, 0, true, w, tip, {}},
        {"hidden program counts as done", [&] { return RunHidden(missing, L" /S", ProgramRole::kInstallStep); }, 1,
         false, nullptr, {}, {}},
        {"COM library counts as done", [&] { return RegisterComServer(folder / L"drawthumb.dll"); }, 1, false,
         nullptr, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ScriptedAnswerer answerer;
        EXPECT_EQ(c.run(), c.result);
        const std::vector<TipRequest> requests = answerer.Requests();
        if (c.message) {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].kind, kTipNotice);
            EXPECT_EQ(requests[0].text, message);
            EXPECT_EQ(requests[0].owner, c.messageOwner);
        } else {
            EXPECT_TRUE(requests.empty());
        }
        EXPECT_EQ(progress.Drain(), c.toW);
        EXPECT_EQ(owner.Drain(), c.toO);
    }
    EXPECT_TRUE(ReadJournal(journalPath).empty()) << "nothing may have been started";
}

namespace {

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        return 42;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// Start-up's thread waits for the uninstall's programs with its windows up:
// a message sent to them meanwhile is answered, and what was posted to the
// thread itself is still there afterwards. (The program runs four seconds;
// the sender gives up after two.)
TEST(ProgramRunners, WaitOnAThreadWithWindowsKeepsAnsweringThem) {
    SessionScope session;
    Medium medium;
    JournalVariable journal(medium.journal);
    const std::wstring program = medium.Place(L"files", L"kvnunist.exe");
    medium.folder.Write(L"files\\fakepkg.ini", "[default]\r\nsleep_ms=4000\r\n");

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KorvWaitProbe";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(ThreadHasWindows());

    const DWORD waitingThread = GetCurrentThreadId();
    DWORD_PTR answer = 0;
    LRESULT answered = 0;
    std::thread sender([&] {
        Sleep(500);
        PostThreadMessageW(waitingThread, WM_APP + 7, 7, 0);
        answered = SendMessageTimeoutW(window, WM_APP, 0, 0, SMTO_NORMAL, 2000, &answer);
    });
    EXPECT_EQ(RunHidden(program, L" /S", ProgramRole::kInstallStep), 1);
    sender.join();
    EXPECT_NE(answered, 0) << "the window did not answer while the program ran";
    EXPECT_EQ(answer, 42u);
    MSG posted;
    EXPECT_TRUE(PeekMessageW(&posted, reinterpret_cast<HWND>(-1), WM_APP + 7, WM_APP + 7, PM_REMOVE));
    EXPECT_EQ(ReadJournal(medium.journal).size(), 1u);
    DestroyWindow(window);
    UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
}

TEST(ProgramRunners, CommandLinesBeyondTheBufferAreNeverStarted) {
    SessionScope session;
    Medium medium;
    JournalVariable journal(medium.journal);
    PostedMessages progress;
    ScriptedAnswerer answerer;
    const std::wstring program = medium.Place(L"files", L"kvninst_x64.exe");
    const std::wstring configurator = medium.Place(L"files", L"SetupWriter.exe");
    const std::wstring quoted = L"\"" + program + L"\"";
    // Arguments that make the command line exactly n characters long.
    auto padTo = [&](size_t n) { return L" /D=" + std::wstring(n - quoted.size() - 4, L'x'); };

    // A library whose regsvr32 line is 260 characters long.
    const std::wstring library = medium.folder / std::wstring(260 - 14 - medium.folder.Path().size() - 1, L'l');
    medium.folder.Write(library.substr(medium.folder.Path().size() + 1), "not a library");
    ASSERT_EQ(RegisterCommandLine(library).size(), 260u);

    session->targetFolder = L"C:\\T";
    const std::wstring fits = ConfiguratorCommandLine(configurator, *session);

    struct Case {
        const char* id;
        std::function<int()> run;
        int result;
        std::vector<UINT> posted;
    };
    const Case cases[] = {
        {"259 characters start", [&] { return RunWithArguments(program, padTo(259), progress.Window(), nullptr); }, 1,
         {WM_PACKAGE_BEGIN, WM_PACKAGE_END}},
        {"260 characters do not", [&] { return RunWithArguments(program, padTo(260), progress.Window(), nullptr); },
         0, {WM_PACKAGE_BEGIN}},
        {"hidden program, 260 characters", [&] { return RunHidden(program, padTo(260), ProgramRole::kInstallStep); },
         0, {}},
        {"regsvr32 line of 260 characters", [&] { return RegisterComServer(library); }, 0, {}},
        {"configurator line of 1024 characters",
         [&] {
             session->productName = std::wstring(1024 - fits.size(), L'p');
             return RunConfigurator(configurator, nullptr);
         },
         0, {}},
        {"configurator line of 1023 characters",
         [&] {
             session->productName = std::wstring(1023 - fits.size(), L'p');
             return RunConfigurator(configurator, nullptr);
         },
         1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const size_t before = ReadJournal(medium.journal).size();
        EXPECT_EQ(c.run(), c.result);
        EXPECT_EQ(ReadJournal(medium.journal).size(), before + (c.result == 1 ? 1 : 0));
        EXPECT_EQ(progress.Drain(), c.posted);
    }
    EXPECT_TRUE(answerer.Requests().empty()) << "a refused command line shows nothing";
}

TEST(RegisterComServer, RunsTheSystemRegsvr32WithTheCommandLineAsWritten) {
    TempFolder folder(L"korv com");
    const std::wstring journalPath = folder / L"journal.txt";
    JournalVariable journal(journalPath);
    const std::wstring library = folder / L"draw thumb.dll";
    ASSERT_TRUE(CopyFileW((korv::test::ModuleFolder() + L"\\comprobe.dll").c_str(), library.c_str(), FALSE));

    // A regsvr32.exe in the current folder would be found before the system
    // one by a plain program search.
    ASSERT_TRUE(PlaceFakePackage(folder / L"regsvr32.exe"));
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.Path().c_str());
    const int result = RegisterComServer(library);
    SetCurrentDirectoryW(previous);

    EXPECT_EQ(result, 1);
    const std::vector<JournalEntry> entries = ReadJournal(journalPath);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, L"comprobe.dll") << "the planted regsvr32.exe ran";
    EXPECT_EQ(entries[0].commandLine, L"regsvr32 \"" + library + L"\" -s");
}
