// install.log: the record of everything the setup created on the machine,
// kept in the installation folder for the product's uninstaller, which
// removes what the entries name.
//
//   AppendInstallLog(ShortcutLogEntry(link, target));
//
// Every entry is appended behind what the file already holds; nothing is
// ever rewritten. The file is opened and closed per entry, so other programs
// may append in between. The entry grammar and byte form are LogEntries.h.
#pragma once

#include <string>

#include "engine/LogEntries.h"

namespace korv {

// Appends one entry to Session().targetFolder + "\install.log". True when
// the entry reached the file; callers do not act on a lost entry (a missing
// folder or a write-protected log simply loses it).
bool AppendInstallLog(const std::wstring& text);

// A new installation into folder (no trailing backslash): an install.log
// that is already there was not written by this installation, so it is
// removed (a link goes, not what it points to) and an empty one takes its
// place. Nothing happens when there is none. False when it cannot be replaced.
bool StartNewInstallLog(const std::wstring& folder);

// folder (created, and logged, when missing) holds an install.log: an empty
// one is created when nothing has been logged. False when that fails.
bool EnsureInstallLog(const std::wstring& folder);

// Longest log path, in characters (a path of MAX_PATH with its terminator).
constexpr size_t kMaxLogPathChars = 259;

// The bytes of one entry in the given Windows code page (CP_ACP for the
// system's): FrameLogEntry with ToCodePage.
bool EncodeLogEntry(const std::wstring& text, unsigned codePage, std::string& bytes);

// The text in the code page, with characters it cannot represent replaced by
// its default character (no best-fit look-alikes: "Ā" stays unreadable rather
// than turning into another letter). unrepresentable tells whether that happened.
std::string ToCodePage(const std::wstring& text, unsigned codePage, bool* unrepresentable = nullptr);

}  // namespace korv
