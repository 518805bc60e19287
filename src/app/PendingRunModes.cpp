// Interim definitions of the run-mode operations whose subsystems have not
// landed yet. Each one is removed by the work that builds the real one (the
// linker then rejects a leftover): nothing here pretends to have done its
// job, so a run that reaches one ends with the fatal exit code.
#include "app/RunModes.h"

#include "session/ExitCodes.h"
#include "session/InstallSession.h"

namespace korv {

// Replaced by the wizard sequencing work (welcome, feature, progress and
// finish pages; not filed yet). It never reaches a finish page, so the
// information page does not follow it.
int RunInstallSequence() {
    Session().showInfoPage = 0;
    return kExitFatal;
}

// Replaced by the wizard sequencing work (maintenance pages; not filed yet).
int RunMaintenanceSequence() {
    return kExitFatal;
}

}  // namespace korv
