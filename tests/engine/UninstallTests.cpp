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

// The rollback writes nothing into the medium (a DVD, an ISO, a read-only
// share): KUninstall runs quietly from a new folder of its own with the
// installation's log beside it, is waited for, and the folder goes again.
TEST(Rollback, RunsTheMediumsUninstallerQuietlyFromAFolderOfItsOwnAndWaits) {
    struct Case {
        const char* id;
        bool log;               // T holds an install.log
        const wchar_t* exitCode;
        int result;
    };
    const Case cases[] = {
        {"done", true, L"0", 1},
        {"KUninstall fails", true, L"1603", 0},
        {"restart needed", true, L"3010", 1},
        // An installation that logged nothing still gets its uninstaller.
        {"no install.log", false, L"0", 1},
    };
    for (const Case& c : cases) {
        SessionScope session;
        JobMedium m;
        m.Program(L"", L"KUninstall.exe");
        m.medium.Write(L"IntallerRes.dll", "library");
        if (c.log) {
            m.scratch.Write(L"Korv Target\\install.log", "\r\r\nCreateDirectory: \"y\" (0)");
        }
        const std::wstring snapshot = m.scratch / L"snapshot";
        CreateDirectoryW(snapshot.c_str(), nullptr);
        FarSteering steering(m.scratch);
        steering.Set(L"KUninstall.exe", L"snapshot_to", snapshot);
        steering.Set(L"KUninstall.exe", L"exit_code", c.exitCode);
        session->setupFolder = m.MediumPath() + L"\\";
        session->targetFolder = m.target;
        const std::vector<std::wstring> mediumBefore = FilesIn(m.MediumPath());

        EXPECT_EQ(RollbackInstall(), c.result) << c.id;
        const std::vector<JournalEntry> journal = m.Journal();
        ASSERT_EQ(journal.size(), 1u) << c.id << ": waited for, so its line is there";
        const std::wstring line = journal[0].commandLine;
        const std::wstring suffix = L"\\KUninstall.exe\" /quiet /norestart";
        ASSERT_GT(line.size(), suffix.size()) << c.id;
        EXPECT_EQ(line.substr(line.size() - suffix.size()), suffix) << c.id;
        const std::wstring folder = FolderOf(line.substr(1, line.find(L'"', 1) - 1));
        EXPECT_NE(folder.rfind(m.MediumPath(), 0), 0u) << c.id << ": ran from the medium";
        EXPECT_FALSE(Exists(folder)) << c.id << ": its folder stays behind";
        EXPECT_EQ(FilesIn(snapshot), (std::vector<std::wstring>{L"IntallerRes.dll", L"KUninstall.exe", L"install.log"}))
            << c.id;
        EXPECT_EQ(ReadBytes(snapshot + L"\\install.log"), c.log ? ReadBytes(m.target + L"\\install.log") : "") << c.id;
        EXPECT_EQ(FilesIn(m.MediumPath()), mediumBefore) << c.id << ": something was written into the medium";
        EXPECT_EQ(session->restartNeeded.load(), std::wstring(c.exitCode) == L"3010" ? 1 : 0) << c.id;
    }
}

// The unattended uninstall hands KUninstall /quiet /norestart and waits: its
// result is the uninstall's.
TEST(Uninstall, QuietlyWaitsForKUninstallAndTakesItsResult) {
    struct Case {
        const char* id;
        const wchar_t* exitCode;
        int result;
    };
    const Case cases[] = {{"done", L"0", 1}, {"fails", L"1603", 0}, {"cancelled", L"1602", 0}};
    for (const Case& c : cases) {
        SessionScope session;
        ScriptedAnswerer answerer;
        WindowCalls windows;
        JobMedium m;
        const std::wstring T = m.target;
        PlaceFakePackage(T + L"\\KUninstall");
        m.scratch.Write(L"Korv Target\\IntallerRes.dll", "library");
        // No install.log: the copy logged nothing, and is uninstalled all the same.
        FarSteering steering(m.scratch);
        steering.Set(L"KUninstall.exe", L"exit_code", c.exitCode);
        session->targetFolder = T;
        session->setupFolder = m.MediumPath() + L"\\";

        EXPECT_EQ(UninstallProductQuietly(), c.result) << c.id;
        const std::vector<JournalEntry> journal = m.Journal();
        ASSERT_FALSE(journal.empty()) << c.id;
        EXPECT_EQ(journal.back().name, L"KUninstall.exe") << c.id;
        const std::wstring line = journal.back().commandLine;
        const std::wstring suffix = L"\\KUninstall.exe\" /quiet /norestart";
        ASSERT_GT(line.size(), suffix.size()) << c.id;
        EXPECT_EQ(line.substr(line.size() - suffix.size()), suffix) << c.id;
        EXPECT_FALSE(Exists(FolderOf(line.substr(1, line.find(L'"', 1) - 1)))) << c.id << ": the hand-over folder stays behind";
        EXPECT_TRUE(answerer.Requests().empty()) << c.id;
    }
}

// Started from the installed folder (the uninstall record's command lines
// are), the run holds its program and the resource library open there:
// they, and then the folder, go at the next restart.
TEST(Uninstall, WhatThisRunHoldsInTheFolderGoesAtTheNextRestart) {
    const wchar_t* const kPending = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    auto pending = [&] {
        std::wstring value(32768, L'\0');
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kPending, L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr,
                         value.data(), &bytes) != ERROR_SUCCESS) {
            return std::wstring();
        }
        value.resize(bytes / sizeof(wchar_t));
        return value;
    };
    TempFolder scratch(L"korv held");
    const std::wstring T = scratch / L"Korv T";
    CreateDirectoryW(T.c_str(), nullptr);
    scratch.Write(L"Korv T\\Setup.exe", "program");
    scratch.Write(L"Korv T\\IntallerRes.dll", "library");
    const std::wstring before = pending();

    ScheduleRemovalOfHeldFiles(T + L"\\", scratch.Path() + L"\\");
    EXPECT_EQ(pending(), before) << "a run from the medium holds nothing in the folder";

    ScheduleRemovalOfHeldFiles(T + L"\\", T + L"\\");
    const std::wstring after = pending();
    for (const std::wstring& path : {T + L"\\Setup.exe", T + L"\\IntallerRes.dll", T}) {
        EXPECT_NE(after.find(path), std::wstring::npos) << Narrow(path);
    }
    // The folder is named after its files.
    EXPECT_LT(after.find(T + L"\\IntallerRes.dll"), after.rfind(T + std::wstring(1, L'\0')));
    // Leave the machine's list as it was.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPending, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        if (before.empty()) {
            RegDeleteValueW(key, L"PendingFileRenameOperations");
        } else {
            RegSetValueExW(key, L"PendingFileRenameOperations", 0, REG_MULTI_SZ,
                           reinterpret_cast<const BYTE*>(before.data()), static_cast<DWORD>(before.size() * sizeof(wchar_t)));
        }
        RegCloseKey(key);
    }
}
