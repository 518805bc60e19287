// The installation folder rules as decisions: what typing or picking a
// folder makes of it, and which folders are refused with which message.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "pages/FolderRules.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;

namespace {

struct FolderCase {
    const char* id;
    const wchar_t* typed;
    const wchar_t* folder;  // targetFolder afterwards
    bool writeBack;
    FolderVerdict verdict;
};

const FolderCase kFolderCases[] = {
    {"plain", L"C:\\Program Files\\Korvanix2024", L"C:\\Program Files\\Korvanix2024", false, FolderVerdict::kAccepted},
    {"doubled backslash", L"C:\\Apps\\\\Korvanix", L"C:\\Apps\\Korvanix", false, FolderVerdict::kAccepted},
    {"four backslashes", L"C:\\\\\\\\Apps", L"C:\\Apps", false, FolderVerdict::kAccepted},
    // A blank beside a separator is refused, not cut away: cut, the folder
    // would be another than the one the box shows.
    {"backslash blank", L"C:\\My Apps\\ Korvanix", L"C:\\My Apps\\ Korvanix", false,
     FolderVerdict::kBlankBesideSeparator},
    {"blank backslash", L"D:\\New \\Korvanix", L"D:\\New \\Korvanix", false, FolderVerdict::kBlankBesideSeparator},
    {"blank backslash at the end", L"C:\\Apps \\", L"C:\\Apps \\", true, FolderVerdict::kBlankBesideSeparator},
    {"trailing doubled", L"D:\\Data\\\\", L"D:\\Data\\", true, FolderVerdict::kAccepted},
    {"trailing one", L"D:\\Data\\", L"D:\\Data\\", true, FolderVerdict::kAccepted},
    {"drive root", L"C:\\", L"C:\\", true, FolderVerdict::kRoot},
    {"drive root doubled", L"C:\\\\", L"C:\\", true, FolderVerdict::kRoot},
    {"drive without backslash", L"C:", L"C:", false, FolderVerdict::kBadForm},
    {"forward slash", L"C:/Apps", L"C:/Apps", false, FolderVerdict::kBadForm},
    {"colon late", L"Apps:\\x", L"Apps:\\x", false, FolderVerdict::kBadForm},
    {"bare name", L"Apps", L"Apps", false, FolderVerdict::kBareName},
    {"empty", L"", L"", false, FolderVerdict::kBareName},
    {"pipe", L"C:\\A|B", L"C:\\A|B", false, FolderVerdict::kBadCharacters},
    {"second colon", L"C:\\A:B", L"C:\\A:B", false, FolderVerdict::kBadCharacters},
    {"quote", L"C:\\A\"B", L"C:\\A\"B", false, FolderVerdict::kBadCharacters},
    {"current drive", L"\\Apps\\Korvanix", L"\\Apps\\Korvanix", false, FolderVerdict::kAccepted},
    // The first letter of a folder on the current drive is a letter of its
    // name like the others.
    {"current drive wildcard", L"\\*", L"\\*", false, FolderVerdict::kBadCharacters},
    {"current drive pipe", L"\\|Apps", L"\\|Apps", false, FolderVerdict::kBadCharacters},
    {"lone backslash", L"\\", L"\\", true, FolderVerdict::kRoot},
    // A network folder keeps both of its leading backslashes.
    {"network folder", L"\\\\server\\share\\Korvanix", L"\\\\server\\share\\Korvanix", false,
     FolderVerdict::kAccepted},
    {"network extra backslashes", L"\\\\\\server\\share\\\\Korvanix", L"\\\\server\\share\\Korvanix", false,
     FolderVerdict::kAccepted},
    {"network share root", L"\\\\server\\share", L"\\\\server\\share", false, FolderVerdict::kRoot},
    // The shell does not count a share root with a trailing backslash as a
    // root; an installation straight into a share's root is refused all the same.
    {"network share root slash", L"\\\\server\\share\\", L"\\\\server\\share\\", true, FolderVerdict::kRoot},
};

}  // namespace

TEST(FolderRules, ValidationSequence) {
    for (const FolderCase& c : kFolderCases) {
        const FolderCheck check = CheckInstallFolder(c.typed);
        EXPECT_EQ(check.folder, c.folder) << c.id << ": " << Narrow(check.folder);
        EXPECT_EQ(check.writeBack, c.writeBack) << c.id;
        EXPECT_EQ(check.verdict, c.verdict) << c.id;
    }
}

// The path tests follow the shell's own, which the rules were written
// against: compared with shlwapi on the same texts (all but a share root
// with a trailing backslash, which the rules count as a root).
TEST(FolderRules, PathTestsAgreeWithTheShell) {
    for (const wchar_t* path : {L"", L"\\", L"C:\\", L"C:", L"C:\\x", L"c:\\", L"\\\\", L"\\\\server",
                                L"\\\\server\\share", L"\\\\server\\share\\x", L"\\x",
                                L"x", L"x:y", L"Apps", L"C:/", L"1:\\"}) {
        EXPECT_EQ(IsRootPath(path), PathIsRootW(path) != FALSE) << "root: " << Narrow(path);
        EXPECT_EQ(IsBareName(path), PathIsFileSpecW(path) != FALSE) << "bare: " << Narrow(path);
    }
}

TEST(FolderRules, PickedFolderGetsTheProductFolder) {
    struct Case {
        const wchar_t* picked;
        const wchar_t* folder;
    } cases[] = {
        {L"D:\\Apps", L"D:\\Apps\\Korvanix2024"},
        {L"D:\\", L"D:\\Korvanix2024"},
        {L"D:\\Apps\\Korvanix2024", L"D:\\Apps\\Korvanix2024"},
        {L"E:\\Korvanix 2024", L"E:\\Korvanix 2024"},
        {L"E:\\Build2024", L"E:\\Build2024"},
        {L"E:\\Build2024\\", L"E:\\Build2024"},
        {L" D:\\Apps. ", L"D:\\Apps\\Korvanix2024"},
        {L"Korvanix2024", L"Korvanix2024"},
        {L"D:\\korvanix2O24", L"D:\\korvanix2O24\\Korvanix2024"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PickedInstallFolder(c.picked, L"Korvanix2024"), c.folder) << Narrow(c.picked);
    }
}

TEST(FolderRules, PathTextTrimsBlanksThenDotsAndDriveIsBeforeTheFirstBackslash) {
    EXPECT_EQ(TrimPathText(L"C:\\Apps..  "), L"C:\\Apps");
    EXPECT_EQ(TrimPathText(L"C:\\Apps. ."), L"C:\\Apps. ");
    EXPECT_EQ(TrimPathText(L"   "), L"");
    EXPECT_EQ(DrivePart(L"C:\\Apps\\K"), L"C:");
    EXPECT_EQ(DrivePart(L"\\\\server\\share\\K"), L"");
    // A folder on the current drive is probed at that drive's root.
    EXPECT_EQ(FreeSpaceProbe(L"C:\\Apps\\K"), L"C:");
    EXPECT_EQ(FreeSpaceProbe(L"\\Apps\\K"), L"\\");
    EXPECT_EQ(FormatWithFolder(L"%s is not empty. %s", L"D:\\K"), L"D:\\K is not empty. %s");
}

// "." and ".." names are resolved (by the resolver the pages pass) before
// the root, form and character checks, and the box takes the result; a
// relative folder is never resolved against the current folder.
TEST(FolderRules, DotNamesAreJudgedResolved) {
    const FolderResolver resolve = [](const std::wstring& folder) {
        wchar_t full[MAX_PATH] = {};
        const DWORD length = GetFullPathNameW(folder.c_str(), MAX_PATH, full, nullptr);
        return std::wstring(full, length);
    };
    struct Case {
        const char* id;
        const wchar_t* typed;
        const wchar_t* folder;
        bool writeBack;
        FolderVerdict verdict;
    } cases[] = {
        {"up to the root", L"C:\\x\\..\\", L"C:\\", true, FolderVerdict::kRoot},
        {"up to the root, no backslash", L"C:\\x\\..", L"C:\\", true, FolderVerdict::kRoot},
        {"dot and up", L"C:\\x\\.\\..\\y", L"C:\\y", true, FolderVerdict::kAccepted},
        {"above the root", L"C:\\..\\..\\y", L"C:\\y", true, FolderVerdict::kAccepted},
        {"share root", L"\\\\server\\share\\x\\..", L"\\\\server\\share\\", true, FolderVerdict::kRoot},
        {"dots in a name", L"C:\\x..y\\z", L"C:\\x..y\\z", false, FolderVerdict::kAccepted},
        {"relative", L"x\\..\\y", L"x\\..\\y", false, FolderVerdict::kBadForm},
    };
    for (const Case& c : cases) {
        const FolderCheck check = CheckInstallFolder(c.typed, resolve);
        EXPECT_EQ(check.folder, c.folder) << c.id << ": " << Narrow(check.folder);
        EXPECT_EQ(check.writeBack, c.writeBack) << c.id;
        EXPECT_EQ(check.verdict, c.verdict) << c.id;
    }
}
