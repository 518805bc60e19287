// The uninstall procedure as data, like the install's (InstallPlan.h):
// planned from the session and a few machine facts, applied by the same loop.
//
//   ApplyInstallPlan(PlanUninstall(Session(), UninstallFacts::OfThisMachine(false)), nullptr, FailureReport::kSilent);
#pragma once

#include <string>
#include <vector>

#include "engine/InstallPlan.h"

namespace korv {

struct UninstallFacts {
    std::wstring msiexecPath;   // msiexec.exe in the system folder; empty when unknown
    std::wstring tempFolder;    // the temporary folder, ending in "\"; empty when unknown or too long
    bool unattended = false;    // KUninstall quietly and waited for, instead of its own pages

    static UninstallFacts OfThisMachine(bool unattended);
};

// The uninstall of the copy in session.targetFolder: the windows, the
// product program's and the collaboration system's own removal (a failure is
// asked about and the uninstall goes on), the removal of the product's MSI
// part, then the hand-over to KUninstall, whose failure fails the uninstall.
// The clean-up programs' exit codes are logged, not judged: whatever they
// leave, KUninstall removes.
std::vector<InstallStep> PlanUninstall(const InstallSession& session, const UninstallFacts& facts);

}  // namespace korv
