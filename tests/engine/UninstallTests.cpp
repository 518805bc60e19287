// The uninstall procedure and the rollback with real (fake) programs: what
// they start, in which order, and where KUninstall runs from.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/JobTestSupport.h"
#include "engine/Uninstall.h"
#include "framework/PrivateFolder.h"
#include "engine/UninstallWindows.h"
#include "support/ScriptedAnswerer.h"
#include "support/SecurityCheck.h"

using namespace korv;
using namespace korv::test;

namespace {

// KUninstall is started and not waited for: its journal line follows.
std::vector<JournalEntry> JournalWith(const JobMedium& m, const std::wstring& name) {
    for (int i = 0; i < 600; ++i) {
        std::vector<JournalEntry> entries = m.Journal();
        if (!entries.empty() && entries.back().name == name) {
            return entries;
        }
        Sleep(100);
    }
    return m.Journal();
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

// Records the window calls of the procedure.
struct WindowCalls {
    WindowCalls() {
        previous = SetUninstallWindows({[this] { calls.push_back(L"hide"); }, [this] { calls.push_back(L"open"); },
                                        [this] { calls.push_back(L"close"); }});
    }
    ~WindowCalls() { SetUninstallWindows(previous); }
    std::vector<std::wstring> calls;
    UninstallWindows previous;
};

}  // namespace

TEST(Uninstall, MsiRemovalCommandLineHasTwoBlanksAfterMsiexec) {
    EXPECT_EQ(MsiRemovalCommandLine(L"{0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07}"),
              L"msiexec  -x {0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07} -q");
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(SystemMsiexecPath(), std::wstring(system) + L"\\msiexec.exe");
}

TEST(Uninstall, HandsOverToKUninstallInAFreshFolderOfItsOwn) {
    struct Case {
        const char* id;
        bool productProgram;
        bool uninstaller;
        int result;
        std::vector<std::wstring> started;
        std::vector<std::wstring> windows;
    };
    const Case cases[] = {
        {"complete copy", true, true, 1, {L"korv.exe", L"kvnunist.exe", L"KUninstall.exe"},
         {L"hide", L"open", L"close"}},
        {"partly installed, no product program", false, true, 1, {L"kvnunist.exe", L"KUninstall.exe"},
         {L"hide", L"open", L"close"}},
        // The wait window stays until the program ends, as the caller's
        // failure message follows.
        {"no uninstaller in the folder", true, false, 0, {L"korv.exe", L"kvnunist.exe"}, {L"hide", L"open"}},
    };
    for (const Case& c : cases) {
        SessionScope session;
        ScriptedAnswerer answerer;
        WindowCalls windows;
        JobMedium m;
        const std::wstring T = m.target;
        if (c.productProgram) {
            PlaceFakePackage(T + L"\\korv.exe");
        }
        PlaceFakePackage(T + L"\\kvnunist.exe");
        if (c.uninstaller) {
            PlaceFakePackage(T + L"\\KUninstall");
        }
        m.scratch.Write(L"Korv Target\\install.log", "\r\r\nCreateDirectory: \"x\" (0)");
        m.scratch.Write(L"Korv Target\\IntallerRes.dll", "library");
        session->targetFolder = T;

        EXPECT_EQ(UninstallProduct(), c.result) << c.id;
        std::vector<JournalEntry> journal = c.uninstaller ? JournalWith(m, L"KUninstall.exe") : m.Journal();
        EXPECT_EQ(Names(journal), c.started) << c.id;
        EXPECT_EQ(windows.calls, c.windows) << c.id;
        EXPECT_TRUE(answerer.Requests().empty()) << c.id;
        for (const JournalEntry& entry : journal) {
            if (entry.name == L"korv.exe") {
                EXPECT_EQ(entry.commandLine, L"\"" + T + L"\\korv.exe\" -UnRegserver -nologo") << c.id;
            } else if (entry.name == L"kvnunist.exe") {
                EXPECT_EQ(entry.commandLine, L"\"" + T + L"\\kvnunist.exe\" /S") << c.id;
            }
        }
        if (!c.uninstaller) {
            continue;
        }
        // "...\Temp\KorvUninstall-...\KUninstall.exe" /norestart, with the log
        // and the library beside it.
        const std::wstring line = journal.back().commandLine;
        const std::wstring suffix = L"\\KUninstall.exe\" /norestart";
        ASSERT_GT(line.size(), suffix.size()) << c.id;
        EXPECT_EQ(line.substr(line.size() - suffix.size()), suffix) << c.id;
        const std::wstring folder = FolderOf(line.substr(1, line.size() - 1 - std::wstring(L"\" /norestart").size()));
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        EXPECT_EQ(FolderOf(folder) + L"\\", std::wstring(temp)) << c.id << ": " << Narrow(folder);
        EXPECT_EQ(folder.rfind(std::wstring(temp) + L"KorvUninstall-", 0), 0u) << c.id;
        EXPECT_EQ(ReadBytes(folder + L"\\install.log"), ReadBytes(T + L"\\install.log")) << c.id;
        EXPECT_EQ(ReadBytes(folder + L"\\IntallerRes.dll"), "library") << c.id;
        TempFolder::RemoveTree(folder);
    }
}

TEST(Uninstall, FreshFoldersArePrivateAndUnguessable) {
    TempFolder temp(L"korv fresh");
    const std::wstring first = CreateFreshFolderIn(temp.Path() + L"\\");
    const std::wstring second = CreateFreshFolderIn(temp.Path() + L"\\");
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second);
    EXPECT_TRUE(Exists(first) && Exists(second));
    const std::wstring pid = std::to_wstring(GetCurrentProcessId());
    for (const std::wstring& folder : {first, second}) {
        EXPECT_EQ(folder.back(), L'\\');
        // The prefix, then 16 hex digits: 64 random bits, nothing of the
        // process id or the clock.
        const std::wstring name = folder.substr(temp.Path().size() + 1, folder.size() - temp.Path().size() - 2);
        ASSERT_EQ(name.rfind(L"KorvUninstall-", 0), 0u) << Narrow(name);
        const std::wstring random = name.substr(std::wstring(L"KorvUninstall-").size());
        EXPECT_EQ(random.size(), 16u) << Narrow(name);
        EXPECT_EQ(random.find_first_not_of(L"0123456789abcdef"), std::wstring::npos) << Narrow(name);
        EXPECT_EQ(name.find(L"-" + pid + L"-"), std::wstring::npos) << Narrow(name);

        const DaclView dacl = ReadDacl(folder);
        ASSERT_TRUE(dacl.read) << Narrow(folder);
        EXPECT_EQ(dacl.userEntries, "") << Narrow(folder) << " " << dacl.sddl;
        EXPECT_TRUE(dacl.systemFull) << Narrow(folder) << " " << dacl.sddl;
        if (!UnderWine()) {
            EXPECT_TRUE(dacl.isProtected && dacl.adminsFull) << Narrow(folder) << " " << dacl.sddl;
        }
    }
    EXPECT_EQ(CreateFreshFolderIn(temp.Path() + L"\\" + std::wstring(240, L'x') + L"\\"), L"") << "over 260 characters";
}

TEST(Uninstall, PrivateDescriptorIsSystemAndAdministratorsOnlyAndProtected) {
    // What the folders are created with, as Windows receives it (Wine keeps
    // only a Unix mode of it, so the folder itself cannot show all of it).
    fw::PrivateSecurity security;
    ASSERT_NE(security.Attributes(), nullptr);
    wchar_t* text = nullptr;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(
        security.Attributes()->lpSecurityDescriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr));
    const std::wstring sddl = text;
    LocalFree(text);
    EXPECT_EQ(sddl, L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
}

TEST(Rollback, StartsTheMediumsUninstallerQuietlyWithTheLog) {
    struct Case {
        const char* id;
        bool logBlocked;
        int result;
    };
    const Case cases[] = {
        {"writable medium", false, 1},
        // As on a read-only medium: the log cannot be written beside the
        // setup program (a folder holds its name; the test may run with
        // rights that ignore a read-only attribute).
        {"log cannot be placed on the medium", true, 0},
    };
    for (const Case& c : cases) {
        SessionScope session;
        JobMedium m;
        m.Program(L"", L"KUninstall.exe");
        m.scratch.Write(L"Korv Target\\install.log", "\r\r\nCreateDirectory: \"y\" (0)");
        const std::wstring mediumLog = m.In(L"", L"install.log");
        if (c.logBlocked) {
            CreateDirectoryW(mediumLog.c_str(), nullptr);
        }
        session->setupFolder = m.MediumPath() + L"\\";
        session->targetFolder = m.target;

        EXPECT_EQ(RollbackInstall(), c.result) << c.id;
        if (c.result == 1) {
            std::vector<JournalEntry> journal = JournalWith(m, L"KUninstall.exe");
            ASSERT_EQ(journal.size(), 1u) << c.id;
            EXPECT_EQ(journal[0].commandLine, L"\"" + m.In(L"", L"KUninstall.exe") + L"\" /quiet /norestart") << c.id;
            EXPECT_EQ(ReadBytes(mediumLog), ReadBytes(m.target + L"\\install.log")) << c.id;
        } else {
            // Nothing is started: the uninstaller would find no log.
            EXPECT_TRUE(m.Journal().empty()) << c.id;
        }
    }
}
