// The shell's special folders the engine places things in.
#pragma once

#include <string>

namespace korv {

// Each asks the shell for the folder's item id list, turns it into a path
// (no trailing backslash) and frees the list. False when the shell has no
// such folder or no file-system path for it.
bool CommonDesktopFolder(std::wstring& path);       // all users' desktop
bool CommonProgramsFolder(std::wstring& path);      // all users' start-menu programs
bool CommonProgramFilesFolder(std::wstring& path);  // ...\Common Files

// The same for any CSIDL value.
bool ShellFolderPath(int csidl, std::wstring& path);

}  // namespace korv
