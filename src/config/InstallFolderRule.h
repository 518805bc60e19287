// Whether a folder named from outside the wizard (TARGETDIR on the command
// line, InstallLocation of an uninstall record) can be an installation
// folder. Plain text in, a verdict out: no platform, so it also builds for
// the fuzzers.
//
//   IsAcceptedInstallFolder(L"D:\\Apps\\Korv")               true
//   IsAcceptedInstallFolder(L"\\\\server\\share\\Korv")      true
//   IsAcceptedInstallFolder(L"C:")  (C:\ once cleaned)       false: a root
//   IsAcceptedInstallFolder(L"Korv")                         false: relative
#pragma once

#include <string>

namespace korv {

// Longest accepted folder, in characters: the setup's own files (the longest
// is IntallerRes.dll) must still fit beside it within MAX_PATH.
constexpr size_t kMaxInstallFolderChars = 243;

// True for an absolute drive path "X:\name..." or a network path
// "\\server\share\name..." that is not a root, given without trailing
// backslash. Every name along it must be one Windows keeps as written: not
// empty, not ending in a blank or a dot (Windows drops those, so "C:\ " is
// the root and "C:\Korv." is C:\Korv), and free of / : * ? " < > | and
// control characters, which cannot stand in a folder name and would add
// arguments of their own to the command lines the folder is put on.
bool IsAcceptedInstallFolder(const std::wstring& folder);

// The weaker test for a folder some other program recorded (the
// InstallLocation of an uninstall record, taken exactly as read): a drive
// path "X:\..." or network path "\\server\share\..." with something below
// its root other than separators, blanks and dots, whatever else the names
// hold. False for an empty, relative or root folder, which would put the
// product's files in the root of a drive or wherever the current folder
// happens to be, and for one with a '"' or control character, which would
// break out of its quotes on the command lines it is put on.
bool IsFolderBelowRoot(const std::wstring& folder);

}  // namespace korv
