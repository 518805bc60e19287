// Removal of an installed copy and the rollback of a failed installation.
// Both hand the real removal to the product's uninstaller, KUninstall, which
// reads install.log; the setup program does not wait for it.
#pragma once

#include <string>

namespace korv {

// Uninstalls the copy in targetFolder and hands the rest to KUninstall:
// 1 when KUninstall was handed the work, 0 otherwise. Plans the steps
// (UninstallPlan.h) and applies them.
int UninstallProduct();

// The last step of the uninstall: copies KUninstall, install.log and the
// resource library from installedFolder (ending in "\") into a fresh folder
// below tempFolder (ending in "\"), closes the wait window and starts
// KUninstall.exe /norestart from there through the shell, without waiting.
// False when a copy or the start fails (the wait window then stays).
bool HandOverToUninstaller(const std::wstring& installedFolder, const std::wstring& tempFolder);

// Rolls back a failed installation: copies T\install.log beside the running
// setup program and starts the medium's KUninstall.exe quietly. 1 when it
// was started; 0 when the log could not be copied (a read-only medium) or
// the shell could not start it. Nothing is shown either way.
int RollbackInstall();

// "msiexec", two blanks, "-x", the product code and " -q": the removal of
// the product's MSI part, as the product's own tools expect it.
std::wstring MsiRemovalCommandLine(const std::wstring& productCode);

// Path of msiexec.exe in the system folder; empty when unknown.
std::wstring SystemMsiexecPath();

// Creates a new folder of its own below tempFolder (which ends in a
// backslash) and returns its path with a trailing backslash; empty when none
// could be created within the 260-character limit. The folder never existed
// before this call, its name holds 64 random bits, and only SYSTEM and the
// Administrators may write into it (a protected DACL, nothing inherited from
// the temporary folder), so nothing planted in it can be loaded by what runs
// from it. A folder that turns out to be a reparse point is refused.
std::wstring CreateFreshFolderIn(const std::wstring& tempFolder);

}  // namespace korv
