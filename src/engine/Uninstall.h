// Removal of an installed copy and the rollback of a failed installation.
// Both hand the real removal to the product's uninstaller, KUninstall, which
// reads install.log. The interactive uninstall does not wait for it (it has
// pages of its own); the unattended uninstall and the rollback do, so that
// their result is KUninstall's.
#pragma once

#include <string>

namespace korv {

// Uninstalls the copy in targetFolder and hands the rest to KUninstall:
// 1 when KUninstall was handed the work, 0 otherwise. Plans the steps
// (UninstallPlan.h) and applies them.
int UninstallProduct();

// The unattended uninstall: as UninstallProduct, but KUninstall gets
// /quiet /norestart and is waited for; 1 when it ended with a code that
// means done (a restart request sets Session().restartNeeded), 0 otherwise.
// What of the installed folder this run itself holds open is then
// scheduled for removal at the next restart.
int UninstallProductQuietly();

// The last step of the uninstall: copies KUninstall, install.log (an empty
// one when there is none) and the resource library from installedFolder
// (ending in "\") into a fresh folder below tempFolder (ending in "\"),
// closes the wait window and starts KUninstall.exe with arguments from
// there. Without wait through the shell, not waited for: true when it
// started. With wait it is waited for and the folder removed afterwards:
// true when its exit code means done. False when a copy or the start fails
// (the wait window then stays).
bool HandOverToUninstaller(const std::wstring& installedFolder, const std::wstring& tempFolder,
                           const std::wstring& arguments, bool wait);

// Rolls back a failed or cancelled installation: copies the medium's
// KUninstall and resource library and T\install.log (an empty one when
// there is none) into a fresh folder of its own below the temporary folder,
// starts KUninstall /quiet /norestart from there and waits for it. 1 when
// it ended with a code that means done; 0 when it could not be placed or
// started, or reported a failure. Nothing is shown either way; nothing is
// written to the medium.
int RollbackInstall();

// When this process runs from installedFolder (programFolder equals it,
// both ending in "\"): its program and resource library there, which it
// holds open, and then the folder, are scheduled for removal at the next
// restart. Logged.
void ScheduleRemovalOfHeldFiles(const std::wstring& installedFolder, const std::wstring& programFolder);

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
