// Setup.ini: the medium's configuration, read once at start-up into the
// session, and the package list that an installed copy's Setup.ini records.
#pragma once

#include <string>
#include <vector>

#include "session/InstallSession.h"

namespace korv {

// Reads Setup.ini beside the running program into Session(). False, with only
// setupFolder set (still without its final backslash), when the file is not
// there; true after reading every key otherwise.
bool ReadSetupConfig();

// The same for a given program path, into a given session (start-up passes
// its own path and Session()).
bool ReadSetupConfigFor(const std::wstring& programPath, InstallSession& session);

// Reads [packnum] count and the [subN] sections of a Setup.ini into the
// session's package list, replacing the previous list.
void ReadPackageList(const std::wstring& iniPath);
void ReadPackageList(const std::wstring& iniPath, InstallSession& session);

// Package counts above this are not read: a list that large is not a real
// medium's, and reading it would take minutes of profile calls. Such a file
// gives an empty list, as a count below zero does.
constexpr int kMaxPackageCount = 1000;

// --- decisions, kept apart from the file reads ---

// Windows language identifier for a lower-cased [RES] LANGUAGE value.
std::wstring LanguageIdFor(const std::wstring& languageCode);

// RGB value from the three colour keys, each taken from its low 8 bits.
unsigned long PackTextColour(int red, int green, int blue);

// Trims white space at both ends and removes all trailing backslashes.
std::wstring CleanFolderValue(const std::wstring& value);

// Trims white space (blank, tab, CR, LF, vertical tab, form feed) at both ends.
std::wstring TrimSpace(const std::wstring& text);

// Lower case, letter by letter, in the invariant way (no locale).
std::wstring ToLowerText(const std::wstring& text);

}  // namespace korv
