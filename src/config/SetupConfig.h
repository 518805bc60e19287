// Setup.ini: the medium's configuration, read once at start-up into the
// session, and the package list that an installed copy's Setup.ini records.
// Which keys are read and how each is treated is SetupIniReader.h; this is
// the part that reads the file.
#pragma once

#include <string>
#include <vector>

#include "config/SetupIniReader.h"
#include "config/ValueText.h"
#include "session/InstallSession.h"

namespace korv {

// A Setup.ini larger than this is not a medium's (a real one holds a few
// kilobytes) and is not read: values are read whole, and each could
// otherwise take as much memory as the file.
constexpr unsigned long long kMaxSetupIniBytes = 16ull << 20;

enum class SetupIniState {
    kRead,      // every key read into the session
    kMissing,   // no Setup.ini beside the program: only setupFolder set
    kTooLarge,  // larger than kMaxSetupIniBytes: only setupFolder set
    kUnusable,  // read, but a name or value is refused (UnusableSetupIniKey, and the
                // product's names from the resource library): not to be used
};

// Reads Setup.ini beside the program at programPath into the session.
// setupFolder is set in every case (still without its final backslash
// unless the file was read). For kUnusable, refusedKey (when given) names
// the value refused, as "[SECTION] KEY".
SetupIniState ReadSetupConfigFile(const std::wstring& programPath, InstallSession& session,
                                  std::wstring* refusedKey = nullptr);

// Reads Setup.ini beside the running program into Session(). False, with only
// setupFolder set, when the file was not read.
bool ReadSetupConfig();

// The same for a given program path, into a given session.
bool ReadSetupConfigFor(const std::wstring& programPath, InstallSession& session);

// Reads [packnum] count and the [subN] sections of a Setup.ini into the
// session's package list, replacing the previous list. A missing or
// oversized file gives an empty list.
void ReadPackageList(const std::wstring& iniPath);
void ReadPackageList(const std::wstring& iniPath, InstallSession& session);

// The full path of the running program, however long: a path cut to a
// fixed buffer would name another folder, and Setup.ini would be read from
// there.
std::wstring RunningProgramPath();

// Lower case, letter by letter, in the invariant way (no locale).
std::wstring ToLowerText(const std::wstring& text);

}  // namespace korv
