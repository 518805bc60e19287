#include "engine/UnattendedInstall.h"

#include "session/InstallSession.h"
#include "engine/InstallJob.h"
#include "engine/InstallPlan.h"
#include "engine/Uninstall.h"
#include "session/DiagnosticLog.h"
#include "session/ExitCodes.h"

namespace korv {

// Start-up has already put the TARGETDIR and NUM words of the command line
// into the session; the plan's first step records the folder in the setup
// registry record, where the product packages look for it.
int RunUnattendedInstall() {
    const InstallFacts facts = InstallFacts::OfThisMachine(Session(), true);
    switch (ApplyInstallPlan(PlanInstall(Session(), facts), nullptr, FailureReport::kUnattended)) {
    case JobOutcome::kDone:
        LogEvent(L"the install is complete");
        return kExitSuccess;
    case JobOutcome::kFailedInstalled:
        LogEvent(L"the install is complete, but the copy is not configured");
        return kExitFatal;
    case JobOutcome::kFailed:
    case JobOutcome::kCancelled:
        break;
    }
    // A deployment tool retries on 1603: it must meet the machine as it was,
    // not a half-installed product. Over a copy that was installed before
    // this run, the uninstaller would take that whole copy away with it:
    // the copy stays, and a Repair mends it.
    if (Session().maintenanceMode != kModeInstall) {
        LogEvent(L"the install failed over an installed copy, which stays (a Repair mends it)");
        return kExitFatal;
    }
    LogEvent(L"the install failed: it is rolled back");
    if (RollbackInstall() != 1) {
        LogEvent(L"the rollback failed: part of the installation may remain");
    }
    return kExitFatal;
}

}  // namespace korv
