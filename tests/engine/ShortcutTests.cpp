// Shortcuts are real shell links in the machine's all-users folders; each is
// read back through the shell and its log entry checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "engine/EngineTestSupport.h"
#include "engine/InstallLog.h"
#include "engine/ShellFolders.h"
#include "engine/ShortcutReader.h"
#include "engine/Shortcuts.h"
#include "support/TempFolder.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;
using korv::test::Exists;
using korv::test::ReadLogEntries;
using korv::test::ReadShortcut;
using korv::test::SessionScope;
using korv::test::ShellPlaces;
using korv::test::ShortcutCleanup;
using korv::test::TempFolder;

namespace {

}  // namespace

TEST(ShellFolders, AllUsersFoldersAreFound) {
    for (int csidl : {CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAM_FILES_COMMON}) {
        SCOPED_TRACE(csidl);
        std::wstring path;
        ASSERT_TRUE(ShellFolderPath(csidl, path));
        EXPECT_TRUE(Exists(path)) << Narrow(path);
        EXPECT_NE(path.back(), L'\\');
    }
    std::wstring path = L"stale";
    EXPECT_FALSE(ShellFolderPath(0x7fff, path));
    EXPECT_TRUE(path.empty());
}

TEST(Shortcuts, SavedWhereThePlaceSaysReadBackAndLogged) {
    SessionScope session;
    TempFolder folder(L"korv links");
    session->targetFolder = folder.Path() + L"\\Korvanix 2024";
    ASSERT_TRUE(CreateDirectoryW(session->targetFolder.c_str(), nullptr));
    session->productName = L"Korv Shortcut Test";
    ShortcutCleanup cleanup(session->productName, {L"Korv Shortcut Test Desk"});
    const ShellPlaces places;
    const std::wstring product = places.programs + L"\\Korv Shortcut Test";
    const std::wstring t = session->targetFolder;

    struct Case {
        const char* id;
        bool withArguments;
        std::wstring subfolder;
        std::wstring name;
        std::wstring target;
        std::wstring arguments;
        int place;
        std::wstring link;                  // expected file
        std::vector<std::wstring> folders;  // expected to be created and logged, outermost first
    };
    const Case cases[] = {
        {"start menu, new product folder", false, L"", L"Foo", t + L"\\korv.exe", L"", kPlaceProductPrograms,
         product + L"\\Foo.lnk", {product}},
        {"start menu, subfolder with arguments", true, L"Settings tools", L"Export", t + L"\\prefkeeper.exe",
         L"/e", kPlaceProductPrograms, product + L"\\Settings tools\\Export.lnk", {product + L"\\Settings tools"}},
        {"desktop ignores the subfolder", true, L"Unused", L"Korv Shortcut Test Desk", t + L"\\korv.exe",
         L"/company 'A B' /language 'zh-cn'", kPlaceCommonDesktop, places.desktop + L"\\Korv Shortcut Test Desk.lnk",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        DeleteFileW((folder.Path() + L"\\Korvanix 2024\\install.log").c_str());
        const int result = c.withArguments
                               ? CreateShellShortcutWithArguments(c.subfolder, c.name, c.target, c.arguments, c.place)
                               : CreateShellShortcut(c.name, c.target, c.place);
        EXPECT_EQ(result, 1);

        const korv::test::ShortcutContents contents = ReadShortcut(c.link);
        ASSERT_TRUE(contents.loaded) << Narrow(c.link);
        EXPECT_EQ(contents.target, c.target);
        EXPECT_EQ(contents.workingDirectory, t);
        EXPECT_EQ(contents.arguments, c.arguments);

        std::vector<std::wstring> expected;
        for (const std::wstring& created : c.folders) {
            expected.push_back(FolderCreatedEntry(created));
            expected.push_back(FolderCreatedDoneEntry(created));
        }
        expected.push_back(ShortcutLogEntry(c.link, c.target));
        EXPECT_EQ(ReadLogEntries(t + L"\\install.log"), expected);
    }
}

TEST(Shortcuts, OtherPlacesCreateNothing) {
    SessionScope session;
    TempFolder folder(L"korv links");
    session->targetFolder = folder.Path();
    session->productName = L"Korv Shortcut Place Test";
    ShortcutCleanup cleanup(session->productName, {});
    const ShellPlaces places;
    for (int place : {-1, 1, 3, 5}) {
        SCOPED_TRACE(place);
        EXPECT_EQ(CreateShellShortcut(L"Nowhere", folder / L"korv.exe", place), 0);
        EXPECT_EQ(CreateShellShortcutWithArguments(L"Sub", L"Nowhere", folder / L"korv.exe", L"/e", place), 0);
    }
    EXPECT_FALSE(Exists(places.programs + L"\\Korv Shortcut Place Test"));
    EXPECT_FALSE(Exists(places.desktop + L"\\Nowhere.lnk"));
    EXPECT_FALSE(Exists(folder / L"install.log"));
}
