// LocalText in a program with no IntallerRes.dll in its folder
// (bin/localtext-nolibrary). Its current folder is made the stand-in
// library's folder (bin/localtext): the lookup must take the library from the
// program's own folder only, never from the current one.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "session/LocalText.h"

using namespace korv;

namespace {

// Moves into the sibling folder that holds the stand-in library, before the
// first lookup of this process.
void EnterFolderWithAStandInLibrary() {
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, static_cast<DWORD>(std::size(self)));
    ASSERT_GT(length, 0u);
    std::wstring folder(self, length);
    folder.erase(folder.find_last_of(L'\\'));
    folder.erase(folder.find_last_of(L'\\') + 1);
    folder += L"localtext";
    ASSERT_NE(GetFileAttributesW((folder + L"\\IntallerRes.dll").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the stand-in library is not built";
    ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
}

}  // namespace

TEST(LocalTextWithoutLibrary, EveryTextIsItsDefaultAndANullDefaultIsEmpty) {
    EnterFolderWithAStandInLibrary();
    struct Case {
        int id;
        const wchar_t* defaultText;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {103, L"built-in", L"built-in"},  // the stand-in library holds this id
        {2003, L"Error\xFF1AUnable to Create the registry information!",
         L"Error\xFF1AUnable to Create the registry information!"},
        {2015, L"Korvanix 2024", L"Korvanix 2024"},
        {2015, L"Korvanix2024", L"Korvanix2024"},
        {2201, nullptr, L""},
    };
    // Twice: a failed load is tried again by later lookups, with the same result.
    for (int round = 1; round <= 2; ++round) {
        for (const Case& c : cases) {
            LocalText text(c.id, c.defaultText);
            EXPECT_EQ(std::wstring(text.Get()), c.expected) << "id " << c.id << ", round " << round;
        }
    }
}

TEST(LocalTextWithoutLibrary, ADefaultIsReturnedWholeUpTo999Characters) {
    const std::wstring longest(999, L'd');
    EXPECT_EQ(LoadText(2002, longest.c_str()), longest);
}
