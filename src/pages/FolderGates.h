// The installation folder rules with their messages, as the welcome and
// feature pages run them on Session().targetFolder (decisions in
// FolderRules.h).
#pragma once

#include <windows.h>

#include <string>

namespace korv {

// How a page shows the root refusal (text 2029): the welcome page asks, the
// feature page tells; either answer only closes the message.
enum class RootMessage { kQuestion, kNotice };

// The validation sequence. Rewrites targetFolder; when the folder ended in a
// backslash, pathText takes it too (the page refreshes its controls). True
// when the folder is acceptable; false after the refusal's message, owned by
// owner.
bool ValidateInstallFolder(HWND owner, RootMessage rootMessage, std::wstring& pathText, bool& pathTextChanged);

// True when the folder is empty (or missing), or the person agrees to
// install into it (question 2026).
bool ConfirmFolderNotEmpty(HWND owner);

// A network folder passes; otherwise the free-space check on the folder's
// drive, whose messages are owned by owner.
bool PassFreeSpaceGate(HWND owner);

// The shell's folder dialog starting at startFolder. False when the person
// cancelled or picked something that is no file-system folder (nothing
// changes); true with startFolder the raw pick and pathText the installation
// folder made of it.
bool PickInstallFolder(HWND owner, std::wstring& startFolder, std::wstring& pathText);

}  // namespace korv
