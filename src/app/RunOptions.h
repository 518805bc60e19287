// The words that change how a run reports, not what it does: the
// diagnostic log's place, messages that never wait for a person, a dry run
// that prints the plan, and the command-line help. Plain text in, plain
// values out: no platform, so the fuzzers build this for Linux as well.
//
//   RunOptions options = ReadRunOptions(GetCommandLineW());
//   if (options.help) ...
//
// Their keys are recognised in any letter case (the other keys are
// case-sensitive, as they have always been): a mistyped plan=1 must never
// be taken for an unknown word, which would start an unattended install.
#pragma once

#include <string>

#include "app/CommandLine.h"

namespace korv {

struct RunOptions {
    std::wstring logPath;           // LOG: the diagnostic log's path, quotes removed; empty: the default
    bool suppressMessages = false;  // SUPPRESSMSGBOXES=1
    bool plan = false;              // PLAN=1
    bool help = false;              // the word /? or HELP=1
    int packageTimeoutMinutes = 0;  // PACKAGETIMEOUT: minutes a started program may run; 0: no limit
};

// LOG, SUPPRESSMSGBOXES, PLAN, HELP or PACKAGETIMEOUT, in any letter case.
bool IsRunOptionKey(const std::wstring& key);

RunOptions ReadRunOptions(const std::wstring& commandLine);

// The command line as the diagnostic log shows it: the program path, then
// the words joined by one blank, each as given, except that a key=value word
// whose key the program does not read shows "key=<value hidden>": a
// deployment tool may pass words meant for others, passwords among them.
std::wstring CommandLineForLog(const std::wstring& commandLine);

// Whether the run's messages are answered without being shown: in a PLAN=1
// run, and with SUPPRESSMSGBOXES=1 in an unattended run (a person is there
// to answer an interactive run's pages anyway).
bool SuppressesMessages(const RunOptions& options, const CommandArgs& args);

// kExitBadCommandLine when SUPPRESSMSGBOXES, PLAN or HELP has a value other
// than 0 or 1 (PLAN=yes must not quietly become a real run), or
// PACKAGETIMEOUT is not a whole number of minutes from 1 to 10080 (a week),
// else 0.
int JudgeRunOptions(const CommandArgs& args);

}  // namespace korv
