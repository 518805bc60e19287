// The command line's key=value words and the run mode they choose.
#pragma once

#include <map>
#include <string>

namespace korv {

// Keys compare code unit by code unit: quiet and QUIET are different keys.
using CommandArgs = std::map<std::wstring, std::wstring>;

// Cuts the whole command line (program path included) into key=value words.
// A quoted program path is dropped; quoted runs keep their blanks and their
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
bool IsUnattended(const CommandArgs& args);

RunMode DecideRunMode(const CommandArgs& args, int installed);

// TARGETDIR as the folder it names: leading quotes, then trailing quotes,
// then trailing backslashes removed.
std::wstring CleanTargetDir(const std::wstring& value);

// False when a cleaned TARGETDIR is empty or holds a character that cannot occur in a
// Windows path (" < > | * ? or a control character). The folder is later
// put on other programs' command lines, where such characters would add
// arguments of their own.
bool IsUsableTargetDir(const std::wstring& cleaned);

}  // namespace korv
