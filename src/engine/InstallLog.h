// install.log: the record of everything the setup created on the machine,
// kept in the installation folder for the product's uninstaller, which
// removes what the entries name.
//
//   AppendInstallLog(ShortcutLogEntry(link, target));
//
// Every entry is appended behind what the file already holds; nothing is
// ever rewritten. The file is opened and closed per entry, so other programs
// may append in between.
#pragma once

#include <string>

namespace korv {

// Appends one entry to Session().targetFolder + "\install.log". True when
// the entry reached the file; callers do not act on a lost entry (a missing
// folder or a write-protected log simply loses it).
bool AppendInstallLog(const std::wstring& text);

// --- the entry grammar the uninstaller parses ---

std::wstring FolderCreatedEntry(const std::wstring& folder);    // CreateDirectory: "F" (0)
std::wstring FolderCreatedDoneEntry(const std::wstring& folder);  // CreateDirectory: "F" created
std::wstring ShortcutLogEntry(const std::wstring& link, const std::wstring& target);
std::wstring RegStrLogEntry(const std::wstring& keyPath, const std::wstring& name, const std::wstring& value);
std::wstring RegDwordLogEntry(const std::wstring& keyPath, const std::wstring& name, const std::wstring& value);
std::wstring UninstallerFileEntry();                                  // File: overwriteflag=4, ...
std::wstring UninstallerWrittenEntry(const std::wstring& targetFolder);  // File: wrote 341000 to "T\KUninstall"

// --- the byte form, kept apart from the file for tests ---

// Longest entry text, in characters and in code-page bytes: the uninstaller
// reads lines into a buffer that holds the line break, 257 characters and
// the terminator.
constexpr size_t kMaxLogEntryChars = 257;
constexpr size_t kMaxLogEntryBytes = 257;
// Longest log path in code-page bytes (a 260-byte buffer with terminator).
constexpr size_t kMaxLogPathBytes = 259;

// The bytes one entry adds to the log: the line break and the text in the
// given code page, each LF written as CR LF. The line break is CR LF, so it
// reaches the disk as 0D 0D 0A; the uninstaller has always read that as one
// line break. False when the entry does not fit the limits above.
bool EncodeLogEntry(const std::wstring& text, unsigned codePage, std::string& bytes);

// The text in the code page, with characters it cannot represent replaced by
// its default character (no best-fit look-alikes: "Ā" stays unreadable rather
// than turning into another letter). unrepresentable tells whether that happened.
std::string ToCodePage(const std::wstring& text, unsigned codePage, bool* unrepresentable = nullptr);

}  // namespace korv
