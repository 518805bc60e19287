// The setup registry record (where and in which language the product lives)
// and the lookups of an installed copy through Windows' uninstall record.
#pragma once

#include <string>

#include "session/InstallSession.h"

namespace korv {

// Writes path, language, NUM and NetTest under
// SOFTWARE\<company>\<product word>\<product word>_Setup. When the key can be
// neither opened nor created: notice 2003, nothing written.
void WriteSetupRecord();
void WriteSetupRecord(InstallSession& session);

// Takes the setup record away again after a new installation was rolled
// back, and the keys above it up to the company's when nothing else is in
// them. True when no record is left.
bool RemoveSetupRecord(const InstallSession& session);

// Looks up this build's / the other build's uninstall record and reports
// through installed, installed64Bit, maintenanceMode, targetFolder and the
// package list (read from the installed copy's Setup.ini).
void FindInstalledCopy();
void FindOtherBuildCopy();

// --- the pieces, for start-up and tests ---

// Text 1996, "Korvanix" when empty, trimmed.
std::wstring ProductRegName();

// SOFTWARE\<companyName>\<productRegName>\<productRegName>_Setup\ .
std::wstring SetupRecordKeyPath(const std::wstring& companyName, const std::wstring& productRegName);

// Software\Microsoft\Windows\CurrentVersion\Uninstall\<productName>_<languageCode>,
// with " beta" for the beta build. ownBuild picks this medium's build or the other one.
std::wstring UninstallKeyPath(const InstallSession& session, bool ownBuild);

// Whether an InstallLocation names an installation folder: without its
// trailing backslashes, a folder below the root of a drive or share
// (IsFolderBelowRoot).
bool IsRegisteredInstallFolder(const std::wstring& location);

// The lookup both operations share, on a given uninstall key path.
void LookupInstalledRecord(const std::wstring& uninstallKeyPath, InstallSession& session);

}  // namespace korv
