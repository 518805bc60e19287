// The diagnostic log: the form of a line, and a file that is appended to,
// from several threads, and never stops anything when it cannot be written.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "session/DiagnosticLog.h"
#include "session/LogLine.h"
#include "support/LogCapture.h"
#include "support/SecurityCheck.h"
#include "support/Text.h"
#include "support/TempFolder.h"

using namespace korv;

namespace {

const LogClock kClock = {2024, 5, 1, 9, 7, 3, 42};

}  // namespace

TEST(LogLine, OneLineOfUtf8PerEventWithItsTimeStamp) {
    struct Case {
        const char* id;
        std::wstring text;
        std::string bytes;  // after the time stamp and its two blanks
    };
    const Case cases[] = {
        {"plain", L"run mode: unattended install", "run mode: unattended install"},
        {"line breaks stay on the line", L"a\r\nb\nc", "a<CR><LF>b<LF>c"},
        {"letters beyond ASCII", L"C:\\Korvanix \u00e9\u4e2d", "C:\\Korvanix \xc3\xa9\xe4\xb8\xad"},
        {"surrogate pair", L"\xd83d\xde00", "\xf0\x9f\x98\x80"},
        {"lone surrogate", L"x\xd800y", "x\xef\xbf\xbdy"},
        {"empty", L"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LogLineBytes(kClock, c.text), "2024-05-01 09:07:03.042  " + c.bytes + "\r\n") << c.id;
    }
    EXPECT_EQ(DefaultLogFileName(kClock, L"0123456789abcdef"), L"KorvanixSetup_20240501_090703_0123456789abcdef.log");
    EXPECT_EQ(CompactDate(kClock), L"20240501");
}

TEST(DiagnosticLog, RunsSharingAPathFollowOneAnotherAndThreadsNeverMixLines) {
    test::LogCapture log;
    LogEvent(L"first run");
    // A second run with the same LOG path appends.
    ASSERT_TRUE(OpenDiagnosticLog(log.Path()));
    EXPECT_EQ(DiagnosticLogPath(), log.Path());
    LogEvent(L"second run");

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 50; ++i) {
                LogEvent(L"thread " + std::to_wstring(t) + L" event " + std::to_wstring(i));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const std::vector<std::wstring> events = log.Events();
    ASSERT_EQ(events.size(), 202u);
    EXPECT_EQ(events[0], L"first run");
    EXPECT_EQ(events[1], L"second run");
    EXPECT_EQ(log.Starting(L"thread 3 event ").size(), 50u);
    const std::string bytes = log.Bytes();
    EXPECT_NE(bytes.substr(0, 3), "\xef\xbb\xbf") << "no byte-order mark";
}

TEST(DiagnosticLog, APathThatCannotBeWrittenLosesTheEventsAndNothingElse) {
    test::TempFolder folder(L"korv log");
    const std::wstring missingFolder = folder / L"missing";
    for (const std::wstring& path : {missingFolder + L"\\run.log", folder.Path(), std::wstring()}) {
        EXPECT_FALSE(OpenDiagnosticLog(path)) << "path of " << path.size() << " characters";
        EXPECT_EQ(DiagnosticLogPath(), L"");
        LogEvent(L"dropped");
    }
    EXPECT_EQ(GetFileAttributesW(missingFolder.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(DiagnosticLog, DefaultLogIsANewFileWithAnUnguessableName) {
    // A temporary folder below the Windows folder stands for SYSTEM's, which
    // every user can write to: there the log gets the private DACL. In a
    // user's own temporary folder it gets the folder's rights.
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    test::TempFolder own(L"korv own temp");
    const std::wstring shared = std::wstring(windows) + L"\\Temp\\korv shared " + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(shared.c_str(), nullptr);
    wchar_t previous[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TMP", previous, MAX_PATH);
    for (const std::wstring& temp : {own.Path(), shared}) {
        SetEnvironmentVariableW(L"TMP", temp.c_str());
        ASSERT_TRUE(OpenDefaultDiagnosticLog()) << test::Narrow(temp);
        const std::wstring first = DiagnosticLogPath();
        LogEvent(L"first");
        ASSERT_TRUE(OpenDefaultDiagnosticLog());
        const std::wstring second = DiagnosticLogPath();
        CloseDiagnosticLog();
        EXPECT_NE(first, second) << "two runs in one second get files of their own";
        for (const std::wstring& path : {first, second}) {
            const std::wstring name = path.substr(temp.size() + 1);
            // KorvanixSetup_yyyyMMdd_HHmmss_ and 16 hex digits.
            ASSERT_EQ(name.size(), 14u + 16u + 16u + 4u) << test::Narrow(name);
            EXPECT_EQ(name.rfind(L"KorvanixSetup_", 0), 0u) << test::Narrow(name);
            EXPECT_EQ(name.substr(29, 17).find_first_not_of(L"0123456789abcdef", 1), std::wstring::npos)
                << test::Narrow(name);
        }
        const test::DaclView dacl = test::ReadDacl(first);
        EXPECT_TRUE(dacl.read);
        if (temp == shared) {
            EXPECT_EQ(dacl.userEntries, "") << dacl.sddl;
        }
        DeleteFileW(first.c_str());
        DeleteFileW(second.c_str());
    }
    SetEnvironmentVariableW(L"TMP", previous[0] != 0 ? previous : nullptr);
    RemoveDirectoryW(shared.c_str());
}
