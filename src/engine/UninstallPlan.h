// The uninstall procedure as data, like the install's (InstallPlan.h):
// planned from the session and a few machine facts, applied by the same loop.
//
//   ApplyInstallPlan(PlanUninstall(Session(), UninstallFacts::OfThisMachine()), nullptr, FailureReport::kSilent);
#pragma once

#include <string>
#include <vector>

#include "engine/InstallPlan.h"

namespace korv {

struct UninstallFacts {
    std::wstring msiexecPath;   // msiexec.exe in the system folder; empty when unknown
    std::wstring tempFolder;    // the temporary folder, ending in "\"; empty when unknown or too long

    static UninstallFacts OfThisMachine();
};

// The uninstall of the copy in session.targetFolder: the windows, the
// product program's and the collaboration system's own removal (a failure is
// asked about and the uninstall goes on), the removal of the product's MSI
// part, then the hand-over to KUninstall, whose failure fails the uninstall.
std::vector<InstallStep> PlanUninstall(const InstallSession& session, const UninstallFacts& facts);

}  // namespace korv
