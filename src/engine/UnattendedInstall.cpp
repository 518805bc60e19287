// The unattended install: the job's procedure on the UI thread, without a
// page. RunUnattendedInstall() is declared with the other run-mode
// operations in app/RunModes.h.
#include "app/InstallSession.h"
#include "app/RunModes.h"
#include "engine/InstallJob.h"
#include "engine/InstallPlan.h"

namespace korv {

// Start-up has already put the TARGETDIR and NUM words of the command line
// into the session; the plan's first step records the folder in the setup
// registry record, where the product packages look for it.
int RunUnattendedInstall() {
    const InstallFacts facts = InstallFacts::OfThisMachine(Session(), true);
    return ApplyInstallPlan(PlanInstall(Session(), facts), nullptr, FailureReport::kSilent) ? 1 : 0;
}

}  // namespace korv
