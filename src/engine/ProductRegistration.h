// The product's registration at the end of an installation, Modify or
// Repair: Windows' uninstall record, its entries in install.log, the desktop
// and start-menu shortcuts and the entries for the uninstaller's own copy.
//
//   WriteProductRegistration(nullptr);   // the install job
//
// The work is planned from the session first and then applied, so the
// planned values, entries and shortcuts can be checked without a registry.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "session/InstallSession.h"

namespace korv {

// Registers the product from Session() and the resource library's texts.
// When the uninstall key can be neither opened nor created, text 2003 is
// shown as a notice owned by owner and nothing else is done. Failures of
// single values, log entries and shortcuts pass silently.
void WriteProductRegistration(HWND owner);

// The library texts registration uses.
struct RegistrationTexts {
    std::wstring publisher;           // 1997
    std::wstring helpLink;            // 1998
    std::wstring edition;             // 1999, empty in English
    std::wstring uninstallShortcut;   // 2008
    std::wstring converterShortcut;   // 2019
    std::wstring paletteShortcut;     // 2043
    std::wstring signatureShortcut;   // 2060
};
RegistrationTexts LoadRegistrationTexts();

struct ShortcutStep {
    bool withArguments = false;  // CreateShellShortcutWithArguments, else CreateShellShortcut
    std::wstring subfolder;
    std::wstring name;
    std::wstring target;
    std::wstring arguments;
    int place = 0;
};

struct RegistrationPlan {
    std::wstring keyPath;  // below HKEY_LOCAL_MACHINE, 32-bit view
    std::vector<std::pair<std::wstring, std::wstring>> values;  // REG_SZ, in writing order
    std::vector<std::wstring> recordEntries;   // logged after the values
    std::vector<ShortcutStep> shortcuts;       // in creation order
    std::vector<std::wstring> closingEntries;  // logged after the shortcuts
};

RegistrationPlan PlanProductRegistration(const InstallSession& session, const RegistrationTexts& texts);

// Carries out a plan (what WriteProductRegistration does after planning).
void ApplyProductRegistration(const RegistrationPlan& plan, HWND owner);

// The arguments of the settings-migration shortcut.
std::wstring MigrationArguments(const InstallSession& session);

}  // namespace korv
