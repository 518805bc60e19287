// Shell shortcuts (.lnk) on the common desktop and in the product's
// start-menu folder, each logged for the uninstaller.
#pragma once

#include <string>

namespace korv {

// Where a shortcut goes. Other values create nothing.
enum ShortcutPlace : int {
    kPlaceCommonDesktop = 0,    // the all-users desktop
    kPlaceProductPrograms = 2,  // Session().productName below the all-users start-menu programs
};

// Saves name + ".lnk" pointing to target, with Session().targetFolder as
// working directory, and logs it. 1 when saved, 0 otherwise (nothing logged
// then, except folders created on the way).
int CreateShellShortcut(const std::wstring& name, const std::wstring& target, int place);

// The same with an argument string; with kPlaceProductPrograms the shortcut
// goes into subfolder below the product's start-menu folder.
int CreateShellShortcutWithArguments(const std::wstring& subfolder, const std::wstring& name,
                                     const std::wstring& target, const std::wstring& arguments, int place);

}  // namespace korv
