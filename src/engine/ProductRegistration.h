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

// A value of the record that deployment and inventory tools read: the
// version, the silent uninstall, the date and the size.
struct ToolValue {
    std::wstring name;
    bool number = false;  // REG_DWORD; else REG_SZ
    std::wstring text;
    unsigned long dword = 0;
    std::wstring entry;   // its install.log entry
};

struct RegistrationPlan {
    std::wstring keyPath;  // below HKEY_LOCAL_MACHINE, 32-bit view
    std::vector<std::pair<std::wstring, std::wstring>> values;  // REG_SZ, in writing order
    std::vector<std::wstring> recordEntries;   // logged after the values
    std::vector<ShortcutStep> shortcuts;       // in creation order
    std::vector<std::wstring> closingEntries;  // logged after the shortcuts
    std::vector<ToolValue> toolValues;         // written after values, logged after closingEntries
};

// What the tool values need beyond the session.
struct RecordFacts {
    std::wstring installDate;           // yyyymmdd
    unsigned long estimatedSizeKiB = 0;

    // Today, and the size of the installation folder as the job leaves it.
    static RecordFacts Now(const std::wstring& targetFolder);
};

RegistrationPlan PlanProductRegistration(const InstallSession& session, const RegistrationTexts& texts,
                                         const RecordFacts& facts = {});

// "T\setup.exe" quiet=1 Uninstall=1 SUPPRESSMSGBOXES=1: the installed
// setup program uninstalling, unattended and without waiting on a message,
// the copy its record describes.
std::wstring QuietUninstallCommand(const std::wstring& targetFolder);


// Carries out a plan (what WriteProductRegistration does after planning).
void ApplyProductRegistration(const RegistrationPlan& plan, HWND owner);

// The arguments of the settings-migration shortcut.
std::wstring MigrationArguments(const InstallSession& session);

}  // namespace korv
