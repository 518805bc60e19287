// LocalText against a small stand-in IntallerRes.dll that lies beside this
// test program (tests/app/localtext/limits.rc.in holds its texts).
#include <gtest/gtest.h>

#include <string>

#include "session/LocalText.h"

using namespace korv;

namespace {

const std::wstring kText999 = L"<" + std::wstring(997, L'9') + L">";
const std::wstring kText1000Cut = L"<" + std::wstring(998, L'0');

}  // namespace

TEST(LocalTextWithLibrary, TextsUpTo999CharactersComeWholeLongerOnesAreCutTo999) {
    LocalText whole(100, L"default");
    std::wstring text = whole.Get();
    EXPECT_EQ(text.size(), 999u);
    EXPECT_EQ(text, kText999);

    LocalText cut(101, L"default");
    text = cut.Get();
    EXPECT_EQ(text.size(), 999u);
    EXPECT_EQ(text, kText1000Cut);
}

TEST(LocalTextWithLibrary, LibraryTextWinsAndAbsentOrEmptyEntriesGiveTheCallersDefault) {
    struct Case {
        const char* what;
        int id;
        const wchar_t* defaultText;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"library text over default", 103, L"built-in", L"from the library"},
        {"library text, null default", 103, nullptr, L"from the library"},
        {"empty entry", 102, L"built-in", L"built-in"},
        {"empty entry, null default", 102, nullptr, L""},
        {"id absent from its bundle", 104, L"built-in", L"built-in"},
        {"bundle absent", 5000, L"Korvanix2024", L"Korvanix2024"},
        {"same id, another place's default", 5000, L"Korvanix 2024", L"Korvanix 2024"},
        {"bundle absent, null default", 5000, nullptr, L""},
    };
    for (const Case& c : cases) {
        LocalText text(c.id, c.defaultText);
        EXPECT_EQ(std::wstring(text.Get()), c.expected) << c.what << " (id " << c.id << ")";
    }
}

TEST(LocalTextWithLibrary, LoadTextCopiesTheLookedUpText) {
    EXPECT_EQ(LoadText(103, L"built-in"), L"from the library");
    EXPECT_EQ(LoadText(104, L"built-in"), L"built-in");
}
