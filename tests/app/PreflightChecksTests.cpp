#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/PreflightChecks.h"
#include "config/DiskSpace.h"
#include "session/ProgressMessages.h"
#include "support/ScriptedAnswerer.h"

using namespace korv;

TEST(PreflightChecks, AdministratorDecision) {
    struct Case {
        const char* id;
        DWORD major;
        bool queried;
        DWORD bytes;
        DWORD elevated;
        bool inGroup;
        bool admin;
    };
    const Case cases[] = {
        {"elevated", 10, true, 4, 1, true, true},
        {"in group, not elevated", 10, true, 4, 0, true, false},
        {"query failed", 6, false, 4, 1, true, false},
        {"odd size", 6, true, 8, 1, true, false},
        {"XP, in group", 5, false, 0, 0, true, true},
        {"XP, not in group", 5, true, 4, 1, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsUserAdminFor(c.major, c.queried, c.bytes, c.elevated, c.inGroup), c.admin) << c.id;
    }
}

TEST(PreflightChecks, WindowsVersionRules) {
    using Values = std::map<std::wstring, std::wstring>;
    struct Case {
        const char* id;
        Values values;
        int os64Bit;
        VersionVerdict verdict;
    };
    const Case cases[] = {
        {"unreadable", {}, 1, VersionVerdict::FailNotice},
        {"Vista", {{L"CurrentVersion", L"6.0"}}, 1, VersionVerdict::FailNotice},
        {"7 SP1, 32-bit", {{L"CurrentVersion", L"6.1"}, {L"CSDVersion", L"Service Pack 1"}}, 0, VersionVerdict::Pass},
        {"7 without SP, 32-bit", {{L"CurrentVersion", L"6.1"}}, 0, VersionVerdict::FailNotice},
        {"7 SP1 lower case", {{L"CurrentVersion", L"6.1"}, {L"CSDVersion", L"service pack 1"}}, 0,
         VersionVerdict::FailNotice},
        {"7 build 7601, 64-bit", {{L"CurrentVersion", L"6.1"}, {L"CurrentBuildNumber", L"7601"}}, 1,
         VersionVerdict::Pass},
        {"7 build 7600, 64-bit", {{L"CurrentVersion", L"6.1"}, {L"CurrentBuildNumber", L"7600"},
                                  {L"CSDVersion", L"Service Pack 1"}}, 1, VersionVerdict::FailNotice},
        {"8", {{L"CurrentVersion", L"6.2"}}, 1, VersionVerdict::Pass},
        {"10", {{L"CurrentVersion", L"6.3"}, {L"ProductName", L"Windows 10 Pro"}}, 1, VersionVerdict::Pass},
        {"Server 2016", {{L"CurrentVersion", L"6.3"}, {L"ProductName", L"Windows Server 2016 Datacenter"}}, 1,
         VersionVerdict::Pass},
        {"Server 2012 R2", {{L"CurrentVersion", L"6.3"}, {L"ProductName", L"Windows Server 2012 R2 Standard"}}, 1,
         VersionVerdict::Pass},
        {"Server 2012", {{L"CurrentVersion", L"6.3"}, {L"ProductName", L"Windows Server 2012 Standard"}}, 1,
         VersionVerdict::FailNotice},
        {"bare Windows Server", {{L"CurrentVersion", L"6.3"}, {L"ProductName", L"Windows Server"}}, 1,
         VersionVerdict::FailQuestion},
        {"Server 2008 reporting 6.3", {{L"CurrentVersion", L"6.3"}, {L"ProductName", L"Windows Server 2008"}}, 1,
         VersionVerdict::FailQuestion},
        {"10.0", {{L"CurrentVersion", L"10.0"}}, 1, VersionVerdict::Pass},
    };
    for (const Case& c : cases) {
        std::vector<std::wstring> read;
        auto reader = [&](const wchar_t* name) {
            read.push_back(name);
            auto found = c.values.find(name);
            return found == c.values.end() ? std::wstring() : found->second;
        };
        EXPECT_EQ(JudgeWindowsVersion(reader, c.os64Bit), c.verdict) << c.id;
        if (std::string(c.id) == "8") {
            EXPECT_EQ(read, std::vector<std::wstring>{L"CurrentVersion"}) << "6.2 reads nothing more";
        }
    }
}

TEST(PreflightChecks, FreeSpaceThreshold) {
    EXPECT_EQ(JudgeFreeSpace(false, 0), 0);
    EXPECT_EQ(JudgeFreeSpace(true, 524287999ull), 2);
    EXPECT_EQ(JudgeFreeSpace(true, 524288000ull), 1);
    EXPECT_EQ(JudgeFreeSpace(true, 0), 2);
}

TEST(PreflightChecks, FailedFreeSpaceQueryShows2002OwnedByThePage) {
    test::ScriptedAnswerer answerer;
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    EXPECT_EQ(CheckDiskSpace(L"\\\\?\\NoSuchVolume\\", owner), 0);
    ASSERT_EQ(answerer.Requests().size(), 1u);
    EXPECT_EQ(answerer.Requests()[0].kind, kTipNotice);
    EXPECT_EQ(answerer.Requests()[0].owner, owner);
    EXPECT_EQ(answerer.Requests()[0].text.rfind(L"Get disk space failed.\n", 0), 0u);
    MSG msg;
    std::vector<UINT> posted;
    while (PeekMessageW(&msg, owner, 0, 0, PM_REMOVE)) posted.push_back(msg.message);
    EXPECT_EQ(posted, (std::vector<UINT>{WM_TIP_OPENED, WM_TIP_CLOSED}));
    DestroyWindow(owner);
}
