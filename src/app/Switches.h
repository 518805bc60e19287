// The switches deployment tools pass to every installer (/quiet, /log ...),
// each only another spelling of key=value words the program already knows.
// Plain text in, plain values out: no platform.
//
//   SwitchWords words = ReadSwitches(GetCommandLineW());
//   if (words.refused) return kExitBadCommandLine;
//   CommandArgs args = ParseCommandLine(words.commandLine);
#pragma once

#include <string>

#include "app/CommandLine.h"

namespace korv {

struct SwitchWords {
    // The command line with each switch replaced by its words (the program
    // path and every other word as given); the switches /? and /norestart
    // stay or go as they are.
    std::wstring commandLine;
    // A switch the program does not know, /log without a file, or a switch
    // whose words an explicit word contradicts (/quiet quiet=0).
    bool refused = false;
};

// Switches are words that begin with "/", read in any letter case:
//   /quiet, /q        quiet=1 SUPPRESSMSGBOXES=1
//   /uninstall        Uninstall=1
//   /repair           REPAIR=1
//   /passive          PASSIVE=1
//   /log <file>, /log:<file>   LOG=<file>
//   /norestart        nothing: the program never restarts the machine
//   /?                the help (kept as it is)
SwitchWords ReadSwitches(const std::wstring& commandLine);

// kExitBadCommandLine when REPAIR, REGISTER or PASSIVE has a value other than 0 or
// 1, or a repair is asked for together with Uninstall=1; else 0.
int JudgeRepairWord(const CommandArgs& args);

// Whether the words hold key=1 (REPAIR=1 asks for the unattended repair,
// REGISTER=1 for the registration of an unattended install).
bool IsOneWord(const CommandArgs& args, const wchar_t* key);
inline bool RepairRequested(const CommandArgs& args) {
    return IsOneWord(args, L"REPAIR");
}

}  // namespace korv
