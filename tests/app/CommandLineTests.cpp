#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/HelpText.h"
#include "app/RunOptions.h"
#include "config/InstallFolderRule.h"
#include "session/ExitCodes.h"
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
        // The program path is the first token as Windows splits it: the
        // words after an unquoted path survive a later quoted value.
        {"unquoted program, later quoted word", L"C:\\M\\Setup.exe A=1 TARGETDIR=\"D:\\X Y\" B=2",
         {{L"A", L"1"}, {L"TARGETDIR", L"\"D:\\X Y\""}, {L"B", L"2"}}},
        {"unquoted program ends at a tab", L"C:\\M\\Setup.exe\tquiet=1", {{L"quiet", L"1"}}},
        {"unquoted program alone", L"Setup.exe", {}},
        {"leading blanks before the program", L"  Setup.exe a=1", {{L"a", L"1"}}},
        {"quoted program, word right after the quote", L"\"C:\\M\\Setup.exe\"a=1", {{L"a", L"1"}}},
        {"quoted program without its closing quote", L"\"C:\\M\\Setup.exe a=1", {}},
        {"key=value inside a quoted program path", L"\"C:\\x=1\\Setup.exe\" b=2", {{L"b", L"2"}}},
        {"key=value inside an unquoted program path", L"C:\\x=1\\Setup.exe b=2", {{L"b", L"2"}}},
        {"unpaired quote has no effect", L"\"S.exe\" a=\"x b=2", {{L"a", L"\"x"}, {L"b", L"2"}}},
        {"tab inside a word is trimmed", L"\"S.exe\" a=1\t", {{L"a", L"1"}}},
    };
    for (const Case& c : cases) {
        CommandArgs args = ParseCommandLine(c.line);
        EXPECT_EQ(args, c.expected) << c.id << ": got " << Show(args);
    }
}

TEST(CommandLine, LogShowsTheWordsButHidesValuesOfWordsNotRead) {
    struct Case {
        const char* id;
        const wchar_t* line;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {"known words as given", L"\"C:\\m\\Setup.exe\" quiet=1 Uninstall=1 TARGETDIR=\"C:\\K 1\\\" NUM=2",
         L"\"C:\\m\\Setup.exe\" quiet=1 Uninstall=1 TARGETDIR=\"C:\\K 1\\\" NUM=2"},
        {"run options in any case", L"Setup.exe log=\"C:\\l.log\" SuppressMsgBoxes=1 plan=1 Help=0 /?",
         L"Setup.exe log=\"C:\\l.log\" SuppressMsgBoxes=1 plan=1 Help=0 /?"},
        {"unknown words hide their values", L"Setup.exe quiet=1 PASSWORD=\"s3cret word\" =x QUIET=0",
         L"Setup.exe quiet=1 PASSWORD=<value hidden> =<value hidden> QUIET=<value hidden>"},
        {"blanks between words become one", L"  Setup.exe   quiet=1   key=v ", L"  Setup.exe quiet=1 key=<value hidden>"},
        {"deployment words as given", L"Setup.exe REPAIR=1 REGISTER=0 PASSIVE=1 PackageTimeout=30",
         L"Setup.exe REPAIR=1 REGISTER=0 PASSIVE=1 PackageTimeout=30"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandLineForLog(c.line), c.shown) << c.id;
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
        // How deployment tools and consoles start the program.
        {"quoted path, quoted folder", L"\"C:\\My Medium\\Setup.exe\" quiet=1 TARGETDIR=\"D:\\Korv\"", 0,
         RunMode::UnattendedInstall},
        {"unquoted path, quoted folder", L"C:\\medium\\Setup.exe quiet=1 TARGETDIR=\"D:\\Korvanix\"", 0,
         RunMode::UnattendedInstall},
        {"unquoted path, unquoted words", L"C:\\medium\\Setup.exe quiet=1 TARGETDIR=D:\\Korvanix", 0,
         RunMode::UnattendedInstall},
        {"unquoted path, quoted folder, uninstall",
         L"Setup.exe quiet=1 Uninstall=1 TARGETDIR=\"D:\\My Korvanix\\\"", 1, RunMode::UnattendedUninstall},
        {"unquoted path, quiet=0 after a quoted folder", L"Setup.exe TARGETDIR=\"D:\\K\" quiet=0", 1,
         RunMode::Maintenance},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideRunMode(ParseCommandLine(c.line), c.installed), c.expected) << c.id;
    }
}

TEST(CommandLine, TargetDirCleaning) {
    struct Case {
        std::wstring value;
        std::wstring cleaned;
    };
    const Case cases[] = {
        {L"\"D:\\My Apps\\K\\\"", L"D:\\My Apps\\K"},
        {L"\"\"D:\\K\\\\\"\"", L"D:\\K"},
        {L"D:\\K", L"D:\\K"},
        {L"D:\\K\\\"", L"D:\\K"},      // quotes go before backslashes
        {L"\"D:\\K\"\\", L"D:\\K\""},  // a backslash after the quote keeps it inside
        {L"C:\\", L"C:"},
        {L"\"\"", L""},
        {L"\\\\", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CleanTargetDir(c.value), c.cleaned) << Narrow(c.value);
    }
}

// An unattended run refuses, before anything else, a TARGETDIR the wizard
// would not accept as an installation folder.
TEST(CommandLine, UnattendedWordsAreJudgedBeforeTheRun) {
    struct Case {
        const char* id;
        std::wstring words;
        int exitCode;
    };
    const Case cases[] = {
        {"drive folder", L"quiet=1 TARGETDIR=\"D:\\My Apps\\Korvanix\\\"", kExitSuccess},
        {"deep drive folder", L"TARGETDIR=d:\\a\\b c\\d.e", kExitSuccess},
        {"network folder", L"quiet=1 TARGETDIR=\\\\server\\share\\Korvanix", kExitSuccess},
        {"drive root", L"quiet=1 TARGETDIR=C:\\", kExitBadCommandLine},
        {"drive root in quotes", L"quiet=1 TARGETDIR=\"C:\\\"", kExitBadCommandLine},
        {"drive without backslash", L"TARGETDIR=C:Korv", kExitBadCommandLine},
        {"network share root", L"TARGETDIR=\\\\server\\share\\", kExitBadCommandLine},
        {"network server only", L"TARGETDIR=\\\\server", kExitBadCommandLine},
        {"relative folder", L"quiet=1 TARGETDIR=Korv", kExitBadCommandLine},
        {"relative with dots", L"TARGETDIR=..\\Korv", kExitBadCommandLine},
        {"root of the current drive", L"TARGETDIR=\\Korv", kExitBadCommandLine},
        {"blank folder name resolves to the root", L"TARGETDIR=\"C:\\ \"", kExitBadCommandLine},
        {"dot names", L"TARGETDIR=C:\\Korv\\..", kExitBadCommandLine},
        // A dot name is refused outright, wherever it leads once resolved.
        {"dot names up to the root", L"quiet=1 TARGETDIR=\"C:\\x\\..\\\"", kExitBadCommandLine},
        {"dot name inside", L"quiet=1 TARGETDIR=C:\\x\\.\\Korv", kExitBadCommandLine},
        {"name ending in a dot", L"TARGETDIR=C:\\Korv.", kExitBadCommandLine},
        {"empty name", L"TARGETDIR=C:\\a\\\\b", kExitBadCommandLine},
        {"drive that is no letter", L"TARGETDIR=1:\\Korv", kExitBadCommandLine},
        {"long-path prefix", L"TARGETDIR=\\\\?\\C:\\Korv", kExitBadCommandLine},
        {"device path", L"TARGETDIR=\\\\.\\C:\\Korv", kExitBadCommandLine},
        {"quote inside adds arguments", L"quiet=1 TARGETDIR=\"D:\\a\"x\" /S", kExitBadCommandLine},
        {"pipe", L"TARGETDIR=D:\\a|b", kExitBadCommandLine},
        {"slash", L"TARGETDIR=D:\\a/b", kExitBadCommandLine},
        {"colon after the drive", L"TARGETDIR=D:\\a:b", kExitBadCommandLine},
        {"wildcard", L"TARGETDIR=D:\\a*", kExitBadCommandLine},
        {"tab", L"TARGETDIR=D:\\a\tb", kExitBadCommandLine},
        {"only quotes", L"TARGETDIR=\"\"", kExitBadCommandLine},
        {"longest folder", L"TARGETDIR=C:\\" + std::wstring(kMaxInstallFolderChars - 3, L'k'), kExitSuccess},
        {"one character longer", L"TARGETDIR=C:\\" + std::wstring(kMaxInstallFolderChars - 2, L'k'),
         kExitBadCommandLine},
        {"root in an uninstall", L"quiet=1 Uninstall=1 TARGETDIR=C:\\", kExitBadCommandLine},
        {"interactive run does not use it", L"quiet=0 TARGETDIR=C:\\", kExitSuccess},
        {"NUM", L"quiet=1 NUM=44", kExitSuccess},
        {"NUM not a number", L"quiet=1 NUM=4x4", kExitBadCommandLine},
        {"NUM too large", L"quiet=1 NUM=2147483648", kExitBadCommandLine},
        {"NUM smallest", L"quiet=1 NUM=-2147483648", kExitSuccess},
        {"NUM in an uninstall is not read", L"quiet=1 Uninstall=1 NUM=4x4", kExitSuccess},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JudgeCommandLine(ParseCommandLine(L"Setup.exe " + c.words)), c.exitCode) << c.id;
    }
}

// The words that change how a run reports choose no run mode, in any letter
// case, and refuse values a person could mistake for a plan.
TEST(CommandLine, RunOptionWords) {
    struct Case {
        const char* id;
        std::wstring words;
        RunOptions options;
        RunMode mode;
        int refusal;
    };
    const RunOptions none;
    const Case cases[] = {
        {"no words", L"", none, RunMode::InteractiveInstall, kExitSuccess},
        {"LOG alone stays interactive", L"LOG=\"C:\\My Logs\\k.log\"", {L"C:\\My Logs\\k.log", false, false, false},
         RunMode::InteractiveInstall, kExitSuccess},
        {"PLAN alone plans the interactive install", L"PLAN=1", {L"", false, true, false},
         RunMode::InteractiveInstall, kExitSuccess},
        {"lower-case plan is the same word", L"plan=1", {L"", false, true, false}, RunMode::InteractiveInstall,
         kExitSuccess},
        {"SUPPRESSMSGBOXES alone changes nothing", L"SuppressMsgBoxes=1", {L"", true, false, false},
         RunMode::InteractiveInstall, kExitSuccess},
        {"with the words of an unattended uninstall",
         L"quiet=1 Uninstall=1 SUPPRESSMSGBOXES=1 LOG=C:\\k.log", {L"C:\\k.log", true, false, false},
         RunMode::UnattendedUninstall, kExitSuccess},
        {"help as a word", L"/?", {L"", false, false, true}, RunMode::InteractiveInstall, kExitSuccess},
        {"help as a key", L"quiet=1 HELP=1", {L"", false, false, true}, RunMode::UnattendedInstall, kExitSuccess},
        {"/? inside a value is no help", L"TARGETDIR=\"C:\\a /?\"", none, RunMode::UnattendedInstall, kExitSuccess},
        {"0 turns a word off", L"PLAN=0 SUPPRESSMSGBOXES=0 HELP=0", none, RunMode::InteractiveInstall, kExitSuccess},
        {"PLAN=yes is refused, not run", L"quiet=1 PLAN=yes", none, RunMode::UnattendedInstall, kExitBadCommandLine},
        {"SUPPRESSMSGBOXES=true is refused", L"SUPPRESSMSGBOXES=true", none, RunMode::InteractiveInstall,
         kExitBadCommandLine},
        {"a key that only looks like one is a word", L"LOGS=1", none, RunMode::UnattendedInstall, kExitSuccess},
        {"PACKAGETIMEOUT in minutes", L"quiet=1 packagetimeout=30", {L"", false, false, false, 30},
         RunMode::UnattendedInstall, kExitSuccess},
        {"PACKAGETIMEOUT alone stays interactive", L"PACKAGETIMEOUT=10080", {L"", false, false, false, 10080},
         RunMode::InteractiveInstall, kExitSuccess},
        {"PACKAGETIMEOUT=0 is refused", L"quiet=1 PACKAGETIMEOUT=0", none, RunMode::UnattendedInstall,
         kExitBadCommandLine},
        {"PACKAGETIMEOUT beyond a week is refused", L"quiet=1 PACKAGETIMEOUT=10081", none, RunMode::UnattendedInstall,
         kExitBadCommandLine},
        {"PACKAGETIMEOUT=5m is refused", L"quiet=1 PACKAGETIMEOUT=5m", none, RunMode::UnattendedInstall,
         kExitBadCommandLine},
        {"PACKAGETIMEOUT=-5 is refused", L"quiet=1 PACKAGETIMEOUT=-5", none, RunMode::UnattendedInstall,
         kExitBadCommandLine},
    };
    for (const Case& c : cases) {
        const std::wstring line = L"\"C:\\M\\Setup.exe\" " + c.words;
        const RunOptions options = ReadRunOptions(line);
        EXPECT_EQ(options.logPath, c.options.logPath) << c.id;
        EXPECT_EQ(options.suppressMessages, c.options.suppressMessages) << c.id;
        EXPECT_EQ(options.plan, c.options.plan) << c.id;
        EXPECT_EQ(options.packageTimeoutMinutes, c.options.packageTimeoutMinutes) << c.id;
        EXPECT_EQ(options.help, c.options.help) << c.id;
        const CommandArgs args = ParseCommandLine(line);
        EXPECT_EQ(DecideRunMode(args, 0), c.mode) << c.id;
        EXPECT_EQ(JudgeRunOptions(args), c.refusal) << c.id;
    }
    // Messages are suppressed in an unattended run or a plan, never in a
    // run a person works through.
    EXPECT_FALSE(SuppressesMessages(ReadRunOptions(L"S.exe SUPPRESSMSGBOXES=1"),
                                    ParseCommandLine(L"S.exe SUPPRESSMSGBOXES=1")));
    EXPECT_TRUE(SuppressesMessages(ReadRunOptions(L"S.exe quiet=1 SUPPRESSMSGBOXES=1"),
                                   ParseCommandLine(L"S.exe quiet=1 SUPPRESSMSGBOXES=1")));
    EXPECT_TRUE(SuppressesMessages(ReadRunOptions(L"S.exe PLAN=1"), ParseCommandLine(L"S.exe PLAN=1")));
}

TEST(CommandLine, HelpNamesEveryWordAndExitCode) {
    const std::wstring help = CommandLineHelp();
    const std::wstring brief = CommandLineHelpBrief();
    for (const wchar_t* word : {L"quiet=0", L"Uninstall=1", L"TARGETDIR=", L"NUM=", L"LOG=", L"SUPPRESSMSGBOXES=1",
                                L"PLAN=1", L"/?", L"HELP=1", L"PACKAGETIMEOUT=", L"REPAIR=1", L"/quiet",
                                L"/q ", L"/uninstall", L"/repair", L"/passive", L"REGISTER=1", L"/norestart", L"/log", L" 0 ", L" 3010 ", L" 1602 ", L" 1603 ", L" 1618 ",
                                L" 1639 "}) {
        EXPECT_NE(help.find(word), std::wstring::npos) << Narrow(word);
        EXPECT_NE(brief.find(word), std::wstring::npos) << "brief: " << Narrow(word);
    }
    for (size_t start = 0, end; start < help.size(); start = end + 2) {
        end = help.find(L"\r\n", start);
        ASSERT_NE(end, std::wstring::npos) << "every line ends in CR LF";
        EXPECT_LE(end - start, 80u) << "fits a console: " << Narrow(help.substr(start, end - start));
    }
}
