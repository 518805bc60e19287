#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;

namespace {

std::string Show(const CommandArgs& args) {
    std::string shown;
    for (const auto& [key, value] : args) {
        shown += "[" + Narrow(key) + "]=[" + Narrow(value) + "] ";
    }
    return shown;
}

}  // namespace

TEST(CommandLine, WordsAndValues) {
    struct Case {
        const char* id;
        std::wstring line;
        CommandArgs expected;
    };
    const Case cases[] = {
        {"program only", L"\"C:\\Medium\\Setup.exe\"", {}},
        {"program and blanks", L"\"C:\\My Medium\\Setup.exe\"   ", {}},
        {"simple words", L"\"C:\\M\\Setup.exe\" quiet=1 NUM=5", {{L"quiet", L"1"}, {L"NUM", L"5"}}},
        {"quoted folder keeps blanks and quotes", L"\"C:\\M\\Setup.exe\" TARGETDIR=\"D:\\My Apps\\K\\\"",
         {{L"TARGETDIR", L"\"D:\\My Apps\\K\\\""}}},
        {"several blanks", L"\"S.exe\"    a=1     b=2  ", {{L"a", L"1"}, {L"b", L"2"}}},
        {"later word replaces", L"\"S.exe\" quiet=0 quiet=1", {{L"quiet", L"1"}}},
        {"keys are case-sensitive", L"\"S.exe\" quiet=1 QUIET=0", {{L"quiet", L"1"}, {L"QUIET", L"0"}}},
        {"no equals, empty key, empty value", L"\"S.exe\" flag =1 key= x=y", {{L"x", L"y"}}},
        {"value keeps later equals", L"\"S.exe\" a=b=c", {{L"a", L"b=c"}}},
        {"unquoted program", L"C:\\M\\Setup.exe Foo=1", {{L"Foo", L"1"}}},
        {"unquoted program, later quoted word",
         L"C:\\M\\Setup.exe A=1 TARGETDIR=\"D:\\X Y\" B=2", {{L"B", L"2"}}},
        {"unpaired quote has no effect", L"\"S.exe\" a=\"x b=2", {{L"a", L"\"x"}, {L"b", L"2"}}},
        {"tab inside a word is trimmed", L"\"S.exe\" a=1\t", {{L"a", L"1"}}},
    };
    for (const Case& c : cases) {
        CommandArgs args = ParseCommandLine(c.line);
        EXPECT_EQ(args, c.expected) << c.id << ": got " << Show(args);
    }
}

TEST(CommandLine, RunModes) {
    struct Case {
        const char* id;
        std::wstring line;
        int installed;
        RunMode expected;
    };
    const Case cases[] = {
        {"nothing", L"\"S.exe\"", 0, RunMode::InteractiveInstall},
        {"nothing, installed", L"\"S.exe\"", 1, RunMode::Maintenance},
        {"quiet=0 with TARGETDIR", L"\"S.exe\" quiet=0 TARGETDIR=D:\\X", 0, RunMode::InteractiveInstall},
        {"any word", L"\"S.exe\" Foo=1", 0, RunMode::UnattendedInstall},
        {"any word, installed", L"\"S.exe\" Foo=1", 1, RunMode::UnattendedInstall},
        {"QUIET=0 is another key", L"\"S.exe\" QUIET=0", 0, RunMode::UnattendedInstall},
        {"lower-case uninstall", L"\"S.exe\" quiet=1 uninstall=1", 1, RunMode::UnattendedInstall},
        {"Uninstall=true", L"\"S.exe\" quiet=1 Uninstall=true", 1, RunMode::UnattendedInstall},
        {"uninstall", L"\"S.exe\" quiet=1 Uninstall=1 TARGETDIR=\"D:\\K\\\"", 1, RunMode::UnattendedUninstall},
        {"uninstall without quiet", L"\"S.exe\" Uninstall=1", 0, RunMode::UnattendedUninstall},
        {"quiet=0 wins over Uninstall", L"\"S.exe\" quiet=0 Uninstall=1", 1, RunMode::Maintenance},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideRunMode(ParseCommandLine(c.line), c.installed), c.expected) << c.id;
    }
}

TEST(CommandLine, TargetDirCleaningAndRefusal) {
    struct Case {
        std::wstring value;
        std::wstring cleaned;
        bool usable;
    };
    const Case cases[] = {
        {L"\"D:\\My Apps\\K\\\"", L"D:\\My Apps\\K", true},
        {L"\"\"D:\\K\\\\\"\"", L"D:\\K", true},
        {L"D:\\K", L"D:\\K", true},
        {L"D:\\K\\\"", L"D:\\K", true},           // quotes go before backslashes
        {L"\"D:\\K\"\\", L"D:\\K\"", false},       // a backslash after the quote keeps it inside
        {L"\"D:\\a\" /evil \"x\"", L"D:\\a\" /evil \"x", false},
        {L"D:\\a<b", L"D:\\a<b", false},
        {L"D:\\a|b", L"D:\\a|b", false},
        {L"D:\\a*", L"D:\\a*", false},
        {L"D:\\a?", L"D:\\a?", false},
        {L"D:\\a\tb", L"D:\\a\tb", false},
        {L"\"\"", L"", false},
        {L"\\\\", L"", false},
    };
    for (const Case& c : cases) {
        std::wstring cleaned = CleanTargetDir(c.value);
        EXPECT_EQ(cleaned, c.cleaned) << Narrow(c.value);
        EXPECT_EQ(IsUsableTargetDir(cleaned), c.usable) << Narrow(c.value);
    }
}
