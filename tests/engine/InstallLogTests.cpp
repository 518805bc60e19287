// install.log is read by the product's uninstaller byte by byte: the tests
// compare whole files and check that nothing is ever cut or rewritten.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "engine/EngineTestSupport.h"
#include "engine/InstallLog.h"
#include "support/TempFolder.h"

using namespace korv;
using korv::test::ReadBytes;
using korv::test::SessionScope;
using korv::test::TempFolder;

namespace {

const std::wstring kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvanix2024_zh_cn";

}  // namespace

TEST(InstallLog, EntriesOfEveryKindGiveTheGoldenBytes) {
    // The golden file holds code page 1252 bytes ("中" and "Ā" become "?",
    // "é" is E9).
    ASSERT_EQ(GetACP(), 1252u) << "the golden bytes are those of code page 1252";
    SessionScope session;
    TempFolder folder(L"korv log");
    session->targetFolder = folder.Path();

    const std::wstring programs = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    const std::wstring entries[] = {
        FolderCreatedEntry(L"C:\\Program Files\\Tallowick \u4e2d"),
        FolderCreatedDoneEntry(L"C:\\Program Files\\Tallowick \u4e2d"),
        ShortcutLogEntry(programs + L"\\Korvanix2024\\Korvanix2024.lnk", L"D:\\Korvanix \u00e9\\korv.exe"),
        RegStrLogEntry(kKey, L"DisplayName", L"Korvanix2024 \u0100"),
        RegDwordLogEntry(kKey, L"Version", L"56"),
        UninstallerFileEntry(),
        UninstallerWrittenEntry(L"D:\\Korvanix \u00e9"),
    };
    for (const std::wstring& entry : entries) {
        EXPECT_TRUE(AppendInstallLog(entry));
    }
    const std::string golden = ReadBytes(korv::test::GoldenPath(L"install_log.golden"));
    ASSERT_FALSE(golden.empty()) << "golden file missing beside the test program";
    EXPECT_EQ(ReadBytes(folder / L"install.log"), golden);
}

TEST(InstallLog, AppendsBehindWhatTheFileHolds) {
    SessionScope session;
    TempFolder folder(L"korv log");
    session->targetFolder = folder.Path();
    folder.Write(L"install.log", "kept\r\nas is");

    EXPECT_TRUE(AppendInstallLog(L"one"));
    EXPECT_TRUE(AppendInstallLog(L"two"));
    EXPECT_EQ(ReadBytes(folder / L"install.log"), "kept\r\nas is\r\r\none\r\r\ntwo");
}

TEST(InstallLog, EntriesBeyondTheFormatAreRefusedWhole) {
    struct Case {
        const char* id;
        std::wstring text;
        unsigned codePage;
        bool fits;
    };
    const Case cases[] = {
        {"257 characters", std::wstring(257, L'a'), 1252, true},
        {"258 characters", std::wstring(258, L'a'), 1252, false},
        {"unmappable characters count once", std::wstring(257, L'\u4e2d'), 1252, true},
        {"128 double-byte characters", std::wstring(128, L'\u4e2d') + L"x", 936, true},
        {"129 double-byte characters", std::wstring(129, L'\u4e2d'), 936, false},
        // A line break inside would make the uninstaller read the rest as an
        // entry of its own, and remove what that names.
        {"LF inside", L"a\nWriteRegStr: \"HKEY_LOCAL_MACHINE\\SOFTWARE\" \"x\"=\"y\"", 1252, false},
        {"CR inside", L"a\rb", 1252, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::string bytes;
        EXPECT_EQ(EncodeLogEntry(c.text, c.codePage, bytes), c.fits);
        if (!c.fits) {
            EXPECT_TRUE(bytes.empty());
        }
    }
    // Refused entries leave the file alone.
    SessionScope session;
    TempFolder folder(L"korv log");
    session->targetFolder = folder.Path();
    EXPECT_TRUE(AppendInstallLog(L"first"));
    EXPECT_FALSE(AppendInstallLog(std::wstring(258, L'x')));
    EXPECT_FALSE(AppendInstallLog(L"two\nlines"));
    EXPECT_EQ(ReadBytes(folder / L"install.log"), "\r\r\nfirst");
}

TEST(InstallLog, LogThatCannotBeOpenedLosesTheEntry) {
    SessionScope session;
    TempFolder folder(L"korv log");
    struct Case {
        const char* id;
        std::wstring targetFolder;
        std::wstring logFile;  // where a wrongly written log would land
    };
    // 259 characters is the longest log path: the folder may be 247 characters.
    const std::wstring deep = folder.Path() + L"\\" + std::wstring(247 - folder.Path().size() - 1, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    const std::wstring tooDeep = deep + L"e";
    ASSERT_TRUE(CreateDirectoryW(tooDeep.c_str(), nullptr));
    const Case cases[] = {
        {"missing folder", folder / L"missing", folder / L"missing\\install.log"},
        {"path of 260 characters", tooDeep, tooDeep + L"\\install.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        session->targetFolder = c.targetFolder;
        EXPECT_FALSE(AppendInstallLog(L"entry"));
        EXPECT_FALSE(korv::test::Exists(c.logFile));
    }
    session->targetFolder = deep;
    EXPECT_TRUE(AppendInstallLog(L"entry")) << "a log path of 259 characters fits";
    EXPECT_EQ(ReadBytes(deep + L"\\install.log"), "\r\r\nentry");
}

// The log is opened by its wide name: an installation folder named with a
// letter outside the code page still gets its log, or the uninstaller could
// remove nothing. The entries keep their code-page bytes.
TEST(InstallLog, FolderNamedOutsideTheCodePageGetsItsLog) {
    ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8)) << "the prefix's code page represents every letter";
    SessionScope session;
    TempFolder folder(L"korv log");
    const std::wstring chinese = folder / L"Korv \u4e2d";
    ASSERT_TRUE(CreateDirectoryW(chinese.c_str(), nullptr));
    session->targetFolder = chinese;
    EXPECT_TRUE(AppendInstallLog(FolderCreatedEntry(chinese)));
    EXPECT_TRUE(AppendInstallLog(L"second"));
    std::string first;
    ASSERT_TRUE(EncodeLogEntry(FolderCreatedEntry(chinese), CP_ACP, first));
    EXPECT_EQ(ReadBytes(chinese + L"\\install.log"), first + "\r\r\nsecond");
}
