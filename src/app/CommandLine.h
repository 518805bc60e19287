// The command line's key=value words, the run mode they choose, and the
// refusal of words an unattended run cannot use. Plain text in, plain values
// out: no platform, so the fuzzers build this for Linux as well.
//
//   CommandArgs args = ParseCommandLine(GetCommandLineW());
//   if (int refusal = JudgeCommandLine(args)) return refusal;
//   RunMode mode = DecideRunMode(args, session.installed);
#pragma once

#include <map>
#include <string>
#include <vector>

namespace korv {

// Keys compare code unit by code unit: quiet and QUIET are different keys.
using CommandArgs = std::map<std::wstring, std::wstring>;

// What follows the program path, the first token of the command line as
// Windows splits it: a quoted path ends at its closing quote (without one,
// the whole line is the path), an unquoted one at the first blank or tab.
// Leading blanks and tabs are skipped first.
std::wstring SkipProgramPath(const std::wstring& commandLine);

// The words after the program path, cut at blanks; quoted runs keep their
// blanks and their quotes.
std::vector<std::wstring> CommandWords(const std::wstring& commandLine);

// Cuts the whole command line (program path included) into key=value words.
// The program path is skipped; quoted runs keep their blanks and their
// quotes; words without "=", with an empty key or an empty value are
// ignored; a later word replaces an earlier one with the same key.
CommandArgs ParseCommandLine(const std::wstring& commandLine);

enum class RunMode {
    UnattendedUninstall,
    UnattendedInstall,
    Maintenance,
    InteractiveInstall,
};

// Any key=value word makes the run unattended unless quiet is exactly "0".
// The words that only change how a run reports (LOG, SUPPRESSMSGBOXES,
// PLAN, HELP: RunOptions.h) choose nothing: without other words the run is
// interactive, as it is without any word.
bool IsUnattended(const CommandArgs& args);

RunMode DecideRunMode(const CommandArgs& args, int installed);

// TARGETDIR as the folder it names: leading quotes, then trailing quotes,
// then trailing backslashes removed.
std::wstring CleanTargetDir(const std::wstring& value);

// NUM as a decimal number: an optional sign and digits that fit an int.
bool ParseNumWord(const std::wstring& text, int& value);

// The exit code that refuses the words before any check or question, or 0
// when the run may go on. An unattended run refuses (kExitBadCommandLine) a
// TARGETDIR that, once cleaned, is no installation folder (see
// IsAcceptedInstallFolder: a drive root such as C:\, a relative folder that
// would land wherever the deployment agent happens to run, or characters
// that add arguments to the programs it is passed to), and an unattended
// install refuses a NUM that is not a number. An interactive run uses
// neither word, so it judges neither.
int JudgeCommandLine(const CommandArgs& args);

}  // namespace korv
