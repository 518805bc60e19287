#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/RunOptions.h"
#include "app/Switches.h"
#include "session/ExitCodes.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;

// Each switch is read as the words it stands for: the words, the run mode
// and the run options they give, or the refusal of the whole line.
TEST(Switches, Table) {
    struct Case {
        const char* id;
        std::wstring words;  // after the program path
        std::wstring expanded;  // the words after the program path; unused when refused
        bool refused;
    };
    const Case cases[] = {
        {"no switch", L"quiet=1 NUM=5", L" quiet=1 NUM=5", false},
        {"/quiet", L"/quiet", L" quiet=1 SUPPRESSMSGBOXES=1", false},
        {"/q in capitals", L"/Q", L" quiet=1 SUPPRESSMSGBOXES=1", false},
        {"/QUIET with a folder", L"/QUIET TARGETDIR=\"C:\\My Apps\\K\"",
         L" quiet=1 SUPPRESSMSGBOXES=1 TARGETDIR=\"C:\\My Apps\\K\"", false},
        {"/uninstall", L"/Uninstall /quiet", L" Uninstall=1 quiet=1 SUPPRESSMSGBOXES=1", false},
        {"/repair", L"/repair /q", L" REPAIR=1 quiet=1 SUPPRESSMSGBOXES=1", false},
        {"/norestart gives no word", L"/quiet /norestart", L" quiet=1 SUPPRESSMSGBOXES=1", false},
        {"/log and its file", L"/log \"C:\\My Logs\\k.log\" /quiet",
         L" LOG=\"C:\\My Logs\\k.log\" quiet=1 SUPPRESSMSGBOXES=1", false},
        {"/LOG:file", L"/LOG:C:\\k.log", L" LOG=C:\\k.log", false},
        {"/log:\"file with blanks\"", L"/log:\"C:\\a b\\k.log\"", L" LOG=\"C:\\a b\\k.log\"", false},
        {"/? stays the help", L"/?", L" /?", false},
        {"the same word twice agrees", L"/quiet quiet=1 SUPPRESSMSGBOXES=1",
         L" quiet=1 SUPPRESSMSGBOXES=1 quiet=1 SUPPRESSMSGBOXES=1", false},
        {"/passive", L"/PASSIVE", L" PASSIVE=1", false},
        {"unknown switch", L"/silent", L"", true},
        {"unknown switch among good words", L"quiet=1 /layout C:\\x", L"", true},
        {"a lone slash", L"/", L"", true},
        {"Inno-style /LOG=", L"/LOG=C:\\k.log", L"", true},
        {"/log without a file", L"/quiet /log", L"", true},
        {"/log followed by a switch", L"/log /quiet", L"", true},
        {"/log: with nothing after it", L"/log:", L"", true},
        {"/quiet quiet=0 contradicts", L"/quiet quiet=0", L"", true},
        {"in any letter case", L"/q SuppressMsgBoxes=0", L"", true},
        {"/uninstall Uninstall=0", L"/uninstall Uninstall=0", L"", true},
        {"two logs", L"/log a.log LOG=b.log", L"", true},
    };
    for (const Case& c : cases) {
        const std::wstring program = L"\"C:\\M\\Setup.exe\"";
        const SwitchWords read = ReadSwitches(program + L" " + c.words);
        EXPECT_EQ(read.refused, c.refused) << c.id;
        if (!c.refused) {
            EXPECT_EQ(Narrow(read.commandLine), Narrow(program + c.expanded)) << c.id;
        }
    }

    // What the words then mean.
    const auto words = [](const wchar_t* line) { return ReadSwitches(line).commandLine; };
    const std::wstring quiet = words(L"S.exe /quiet /log:C:\\k.log");
    EXPECT_EQ(DecideRunMode(ParseCommandLine(quiet), 1), RunMode::UnattendedInstall);
    EXPECT_TRUE(SuppressesMessages(ReadRunOptions(quiet), ParseCommandLine(quiet)));
    EXPECT_EQ(Narrow(ReadRunOptions(quiet).logPath), "C:\\k.log");
    EXPECT_EQ(DecideRunMode(ParseCommandLine(words(L"S.exe /uninstall /q")), 1), RunMode::UnattendedUninstall);
    EXPECT_TRUE(RepairRequested(ParseCommandLine(words(L"S.exe /repair /q"))));
    EXPECT_EQ(DecideRunMode(ParseCommandLine(words(L"S.exe /norestart")), 0), RunMode::InteractiveInstall);
}

TEST(Switches, RepairWord) {
    struct Case {
        const char* id;
        std::wstring words;
        bool repair;
        int refusal;
    };
    const Case cases[] = {
        {"REPAIR=1", L"REPAIR=1", true, kExitSuccess},
        {"REPAIR=0 is the install", L"quiet=1 REPAIR=0", false, kExitSuccess},
        {"REPAIR=yes is refused", L"REPAIR=yes", false, kExitBadCommandLine},
        {"a repair cannot uninstall", L"REPAIR=1 Uninstall=1", true, kExitBadCommandLine},
        {"no REPAIR", L"quiet=1", false, kExitSuccess},
        {"REGISTER=1", L"quiet=1 REGISTER=1", false, kExitSuccess},
        {"REGISTER=yes is refused", L"quiet=1 REGISTER=yes", false, kExitBadCommandLine},
        {"PASSIVE=2 is refused", L"PASSIVE=2", false, kExitBadCommandLine},
    };
    for (const Case& c : cases) {
        const CommandArgs args = ParseCommandLine(L"S.exe " + c.words);
        EXPECT_EQ(RepairRequested(args), c.repair) << c.id;
        EXPECT_EQ(JudgeRepairWord(args), c.refusal) << c.id;
    }
}
