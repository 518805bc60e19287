#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/EngineTestSupport.h"
#include "engine/FileOperations.h"
#include "engine/InstallLog.h"
#include "support/TempFolder.h"

using namespace korv;
using korv::test::Exists;
using korv::test::ReadLogEntries;
using korv::test::SessionScope;
using korv::test::TempFolder;

TEST(CreateFolderTree, CreatesAndLogsEachFolderBeforeASeparator) {
    SessionScope session;
    TempFolder folder(L"korv tree");
    session->targetFolder = folder.Path();  // the log lands here
    const std::wstring base = folder.Path();
    folder.Write(L"plain.txt", "x");

    struct Case {
        const char* id;
        std::wstring path;
        int result;
        std::vector<std::wstring> created;  // outermost first
        std::wstring notCreated;            // a name the walk must leave alone
    };
    const Case cases[] = {
        {"three levels ending in a backslash", base + L"\\a 1\\b\\c\\", 1,
         {base + L"\\a 1", base + L"\\a 1\\b", base + L"\\a 1\\b\\c"}, L""},
        {"last name without separator stays", base + L"\\d\\e", 1, {base + L"\\d"}, base + L"\\d\\e"},
        {"forward slashes separate too", base + L"/f/g/", 1, {base + L"/f", base + L"/f/g"}, L""},
        {"existing folders are not logged again", base + L"\\a 1\\b\\h\\", 1, {base + L"\\a 1\\b\\h"}, L""},
        {"leading separator fails at once", L"\\korv_tree_never\\", 0, {}, L"\\korv_tree_never"},
        // A file where a folder should be counts as there; the level below
        // it cannot be made: the walk ends there, keeping what it made.
        {"file in the way", base + L"\\r\\..\\plain.txt\\n\\o\\", 0, {base + L"\\r"}, base + L"\\plain.txt\\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        DeleteFileW((folder / L"install.log").c_str());
        EXPECT_EQ(CreateFolderTree(c.path), c.result);
        std::vector<std::wstring> expected;
        for (const std::wstring& created : c.created) {
            EXPECT_TRUE(Exists(created)) << std::string(created.begin(), created.end());
            expected.push_back(FolderCreatedEntry(created));
            expected.push_back(FolderCreatedDoneEntry(created));
        }
        EXPECT_EQ(ReadLogEntries(folder / L"install.log"), expected);
        if (!c.notCreated.empty()) {
            EXPECT_FALSE(Exists(c.notCreated));
        }
    }
}

TEST(CreateFolderTree, WalksAtMost260Characters) {
    SessionScope session;
    TempFolder folder(L"korv tree");
    session->targetFolder = folder.Path();
    // Separator at index 259 (the 260th character) is walked, one at 260 is not.
    std::wstring first = folder.Path() + L"\\";
    first += std::wstring(259 - first.size(), L'x');
    const std::wstring path = first + L"\\y\\";
    ASSERT_EQ(path[259], L'\\');
    ASSERT_EQ(path[261], L'\\');
    EXPECT_EQ(CreateFolderTree(path), 1);
    EXPECT_TRUE(Exists(first));
    EXPECT_FALSE(Exists(first + L"\\y"));
}

TEST(IsFolderEmpty, OnlyDotEntriesCountAsEmpty) {
    TempFolder folder(L"korv empty");
    struct Case {
        const char* id;
        std::wstring name;
        bool create;
        std::wstring subfolder;  // made inside it
        std::wstring file;       // written inside it
        int result;
    };
    const Case cases[] = {
        {"missing", L"missing", false, L"", L"", 1},
        {"nothing inside", L"bare", true, L"", L"", 1},
        {"an empty subfolder", L"withsub", true, L"sub", L"", 0},
        {"a file", L"withfile", true, L"", L"f.txt", 0},
        {"name outside the code page, with a file", L"\u4e2d", true, L"", L"f.txt", 0},
        {"name outside the code page, nothing inside", L"\u4e2d\u6587", true, L"", L"", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const std::wstring path = folder / c.name;
        if (c.create) {
            ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        }
        if (!c.subfolder.empty()) {
            ASSERT_TRUE(CreateDirectoryW((path + L"\\" + c.subfolder).c_str(), nullptr));
        }
        if (!c.file.empty()) {
            folder.Write(c.name + L"\\" + c.file, "x");
        }
        EXPECT_EQ(IsFolderEmpty(path), c.result);
    }
}

TEST(FileOperations, FolderSizeCountsTheFilesBelowTheFolderInKiB) {
    TempFolder folder(L"korv size");
    EXPECT_EQ(FolderSizeKiB(folder.Path(), L""), 0u);
    folder.Write(L"one byte", "1");
    EXPECT_EQ(FolderSizeKiB(folder.Path(), L""), 1u) << "rounded up";
    CreateDirectoryW((folder / L"sub").c_str(), nullptr);
    folder.Write(L"sub\\kib", std::string(1024, 'x'));
    folder.Write(L"uninst.exe", std::string(5000, 'u'));
    EXPECT_EQ(FolderSizeKiB(folder.Path(), L"uninst.exe"), 2u) << "1025 bytes without the skipped file";
    EXPECT_EQ(FolderSizeKiB(folder.Path(), L""), 6u) << "6025 bytes";
    EXPECT_EQ(FolderSizeKiB(folder / L"missing", L""), 0u);
}
