// The operations start-up hands a run over to, declared here so start-up
// can call them. Each lives with its subsystem; those that have not landed
// yet have their interim definition in PendingRunModes.cpp, which says
// which work replaces it.
#pragma once

#include <string>

#include "engine/UnattendedInstall.h"
#include "engine/Uninstall.h"

namespace korv {

// The advertisement lookup: a page address, or empty text.
std::wstring GetAdTargetUrl(const std::wstring& server, const std::wstring& version, const std::wstring& language,
                            const std::wstring& channel);

// Shows the information page with the given address, modally.
void ShowInfoPage(const std::wstring& address);

}  // namespace korv
