#include "app/HelpText.h"

namespace korv {

namespace {

const wchar_t* const kHelpLines[] = {
    L"Korvanix 2024 Setup: command line",
    L"",
    L"  Setup.exe [key=value ...]",
    L"",
    L"Without words the setup runs interactively: the installation wizard, or the",
    L"maintenance (modify, repair, uninstall) of an installed copy. Any key=value",
    L"word except LOG, SUPPRESSMSGBOXES, PLAN and HELP makes the run unattended",
    L"unless quiet=0 is given. Keys are case-sensitive; LOG, SUPPRESSMSGBOXES,",
    L"PLAN and HELP are recognised in any letter case.",
    L"",
    L"  quiet=0               interactive even with other words (any other value:",
    L"                        unattended)",
    L"  Uninstall=1           unattended: uninstall instead of install",
    L"  TARGETDIR=\"<folder>\"  unattended: the installation folder, a folder below a",
    L"                        drive or share root, without \" < > | * ? / : and at",
    L"                        most 243 characters; without it, the installed copy's",
    L"                        folder or the medium's default",
    L"  NUM=<number>          unattended install: the number handed to the",
    L"                        configuration program; 1 or 44 also registers the",
    L"                        product program",
    L"  LOG=\"<path>\"          the diagnostic log of the run (UTF-8, appended); default",
    L"                        %TEMP%\\KorvanixSetup_<yyyyMMdd_HHmmss>.log",
    L"  SUPPRESSMSGBOXES=1    unattended: no message waits for a person; notices are",
    L"                        answered OK, questions and retry prompts Cancel, the",
    L"                        Windows Installer's messages with its default; each",
    L"                        is noted in the log",
    L"  PLAN=1                print the run mode and every step with its command",
    L"                        line, start nothing, write nothing but the log, exit 0",
    L"  /?  or  HELP=1        this text, exit 0",
    L"",
    L"Exit codes:",
    L"  0     the run did what was asked",
    L"  3010  done; a package needs a restart to finish (the setup never restarts)",
    L"  1602  a question was answered Cancel (the product is running, another",
    L"        edition or build is installed), or the wizard was left",
    L"  1603  a check failed (administrator rights, Windows, .NET, Setup.ini, the",
    L"        resource library), or a step of the install or the uninstall failed",
    L"  1618  another setup is running",
    L"  1639  the command line is unusable: a TARGETDIR that is no installation",
    L"        folder, a NUM that is no number, or SUPPRESSMSGBOXES, PLAN or HELP",
    L"        with a value other than 0 or 1",
    L"",
    L"Examples:",
    L"  Setup.exe quiet=1 SUPPRESSMSGBOXES=1 TARGETDIR=\"C:\\Program Files\\Korvanix\"",
    L"  Setup.exe quiet=1 Uninstall=1 SUPPRESSMSGBOXES=1",
    L"  Setup.exe PLAN=1 quiet=1 TARGETDIR=\"D:\\Korvanix\"",
};

const wchar_t* const kBriefLines[] = {
    L"Setup.exe [key=value ...]",
    L"quiet=0: interactive; any other word: unattended",
    L"Uninstall=1: uninstall (unattended)",
    L"TARGETDIR=\"<folder>\": the installation folder",
    L"NUM=<number>: for the configuration program",
    L"LOG=\"<path>\": the diagnostic log",
    L"SUPPRESSMSGBOXES=1: no message waits (unattended)",
    L"PLAN=1: print the plan, do nothing",
    L"/? or HELP=1: this help",
    L"Exit codes: 0 done, 3010 restart needed, 1602 declined, 1603 failed, 1618 another setup runs, "
    L"1639 unusable command line",
};

}  // namespace

std::wstring CommandLineHelpBrief() {
    std::wstring text;
    for (const wchar_t* line : kBriefLines) {
        if (!text.empty()) {
            text += L"\r\n";
        }
        text += line;
    }
    return text;
}

std::wstring CommandLineHelp() {
    std::wstring text;
    for (const wchar_t* line : kHelpLines) {
        text += line;
        text += L"\r\n";
    }
    return text;
}

}  // namespace korv
