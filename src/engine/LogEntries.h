// The entries of install.log, text and bytes: the grammar the product's
// uninstaller parses and the byte form one entry takes in the file. Plain
// values only: no platform, so the fuzzers build this for Linux as well.
// Writing the file is InstallLog.h.
#pragma once

#include <functional>
#include <string>

namespace korv {

// --- the entry grammar the uninstaller parses ---

std::wstring FolderCreatedEntry(const std::wstring& folder);      // CreateDirectory: "F" (0)
std::wstring FolderCreatedDoneEntry(const std::wstring& folder);  // CreateDirectory: "F" created
std::wstring ShortcutLogEntry(const std::wstring& link, const std::wstring& target);
std::wstring RegStrLogEntry(const std::wstring& keyPath, const std::wstring& name, const std::wstring& value);
std::wstring RegDwordLogEntry(const std::wstring& keyPath, const std::wstring& name, const std::wstring& value);
std::wstring UninstallerFileEntry();                                     // File: overwriteflag=4, ...
std::wstring UninstallerWrittenEntry(const std::wstring& targetFolder);  // File: wrote 341000 to "T\KUninstall"

// --- the byte form ---

// Longest entry text, in characters and in code-page bytes: the uninstaller
// reads lines into a buffer that holds the line break, 257 characters and
// the terminator.
constexpr size_t kMaxLogEntryChars = 257;
constexpr size_t kMaxLogEntryBytes = 257;

// Turns text into the log's code page; empty when it cannot.
using CodePageConverter = std::function<std::string(const std::wstring&)>;

// The bytes one entry adds to the log: the line break and the text in the
// code page, each LF written as CR LF. The line break is CR LF, so it
// reaches the disk as 0D 0D 0A; the uninstaller has always read that as one
// line break. False, with no bytes, when the entry does not fit the limits
// above, cannot be converted, or holds a line break of its own (CR or LF):
// the uninstaller would read the rest as an entry of its own and remove
// what that names.
bool FrameLogEntry(const std::wstring& text, const CodePageConverter& toCodePage, std::string& bytes);

}  // namespace korv
