// Windows Installer packages, installed through msi.dll loaded at run time.
//
// progress: the copy-progress page, or none. With it the runners post
// WM_PACKAGE_BEGIN first and WM_PACKAGE_END when the installation
// succeeded, and own their failure message with it. Messages that the
// Windows Installer raises during the installation are shown by
// MsiUiHandler, owned by Session().progressWindow.
//
// Results: 1 installed (also when it needs a restart to finish, which the
// session then records), 0 failed.
#pragma once

#include <windows.h>

#include <string>

namespace korv {

// Installs the package with no property string.
int InstallMsiPackage(const std::wstring& path, HWND progress);

// Installs the package with a property string ("NAME=value ...").
int InstallMsiPackageWithProperties(const std::wstring& path, const std::wstring& properties, HWND progress);

// The external UI handler registered before each installation: shows fatal,
// error and warning messages, acknowledges progress and information, and
// leaves everything else to the Windows Installer.
int WINAPI MsiUiHandler(void* context, UINT messageType, const wchar_t* message);

// The context text registered with the handler.
extern const wchar_t kMsiHandlerContext[];

// Message filter: every message kind from FATALEXIT to SHOWDIALOG except
// FILESINUSE (bit 5, INSTALLLOGMODE_FILESINUSE); RESOLVESOURCE (bit 6) is in
// the filter, and the handler leaves it to the Windows Installer.
constexpr DWORD kMsiMessageFilter = 0x7FDF;

// Internal UI: none, except the source-resolution dialog.
constexpr int kMsiInternalUiLevel = 0x102;

// The internal UI level of an installation: kMsiInternalUiLevel, or none at
// all while messages are suppressed.
int MsiInternalUiLevel(bool messagesSuppressed);

// --- decisions, kept apart from the installation ---

enum class MsiRunner {
    kPlain,           // InstallMsiPackage
    kWithProperties,  // InstallMsiPackageWithProperties
};

// Whether a failure stays unreported. loweredPath is the package path in
// lower case; attempted tells whether the Windows Installer was asked to
// install it (false: library, function or package missing).
bool IsSilentMsiFailure(MsiRunner runner, const std::wstring& loweredPath, bool attempted);

// The property that keeps a package from restarting the machine itself.
inline constexpr wchar_t kSuppressRestart[] = L"REBOOT=ReallySuppress";

// The command line the Windows Installer gets: the runner's properties
// (none for InstallMsiPackage) followed by kSuppressRestart.
std::wstring MsiCommandLine(const std::wstring& properties);

// A package installed: success, or success that needs a restart to finish
// (ERROR_SUCCESS_REBOOT_REQUIRED 3010, ERROR_SUCCESS_REBOOT_INITIATED 1641).
// The latter also set Session().restartNeeded.
bool IsInstalledMsiResult(unsigned result);
bool MsiResultNeedsRestart(unsigned result);

// The diagnostic log's line for a result of MsiInstallProduct.
std::wstring MsiResultEvent(unsigned result);

// The failure message: the lowered path followed directly by text 2012.
std::wstring MsiFailureText(const std::wstring& loweredPath);

}  // namespace korv
