// The rules that turn what a person typed or picked into the installation
// folder, and that decide whether the installation may go there. Only
// decisions live here (no windows.h, so they build for the fuzzers too);
// FolderGates.h shows the messages and asks the system.
#pragma once

#include <string>

namespace korv {

// Why a folder was refused, in the order the checks run.
enum class FolderVerdict {
    kAccepted,
    kBareName,        // neither ":" nor "\": text 2027
    kBlankBesideSeparator,  // "\ " or " \" in it: text 2027
    kRoot,            // a drive or share root: text 2029
    kBadForm,         // not X:\... and not \...: text 2027
    kBadCharacters,   // / : * ? " < > | after the lead-in: text 2028
};

struct FolderCheck {
    // The folder after the clean-up steps (what targetFolder becomes, also
    // when the folder is refused).
    std::wstring folder;
    // The folder ended in a backslash (it now ends in exactly one), or its
    // "." and ".." names were resolved: the page's path text takes the
    // folder as it is, so the box shows the folder that is used.
    bool writeBack = false;
    FolderVerdict verdict = FolderVerdict::kAccepted;
};

// Resolves the "." and ".." names of a folder the way Windows will when the
// folder is used (the pages pass GetFullPathNameW); the text unchanged when
// it cannot.
using FolderResolver = std::wstring (*)(const std::wstring& folder);

// The validation sequence on the text of the path box:
//  1. doubled backslashes collapse to one, except the two that open a
//     network path (\\server\share\...);
//  2. trailing backslashes become exactly one;
//  then the bare-name check; a blank beside a separator ("\ " or " \") is
//  refused rather than cut away, since cutting would install somewhere else
//  than the box shows (D:\New \Korvanix into D:\New); a folder with "." or
//  ".." names is resolved by `resolve` (when given) so that the root, form
//  and character checks judge the folder that will be used, not its text
//  (C:\x\..\ is the root C:\).
FolderCheck CheckInstallFolder(const std::wstring& text, FolderResolver resolve = nullptr);

// Step 1 alone.
std::wstring CleanFolderText(std::wstring text);

// Whether one of the folder's names is "." or "..".
bool HasDotNames(const std::wstring& folder);

// The shell's path tests, by their documented rules.
// No ":" and no "\" anywhere.
bool IsBareName(const std::wstring& path);
// "\", "X:\", or a network root "\\server" / "\\server\share" (also with
// a trailing backslash after the share).
bool IsRootPath(const std::wstring& path);

// The path box's text as the buttons take it: trailing blanks dropped, then
// trailing dots.
std::wstring TrimPathText(const std::wstring& text);

// The folder picker's result: blanks around it, then trailing dots, then
// trailing backslashes dropped; the product folder appended unless the
// folder already is one (its name ends in "2024", or it is the product name
// itself).
std::wstring PickedInstallFolder(const std::wstring& picked, const std::wstring& productName);

// The free-space gate's drive: the text before the first "\" ("C:" for
// C:\Apps; empty for a folder that starts with a backslash).
std::wstring DrivePart(const std::wstring& folder);

// What the free-space gate probes for a folder that is no network path: its
// drive part, and for a folder on the current drive (\Apps\Korvanix) that
// drive's root "\", whose free space is the one the folder gets.
std::wstring FreeSpaceProbe(const std::wstring& folder);

// "%s" of a message text replaced by the folder (the first one only).
std::wstring FormatWithFolder(const std::wstring& format, const std::wstring& folder);

}  // namespace korv
