#include "engine/UnattendedInstall.h"

#include "session/InstallSession.h"
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
