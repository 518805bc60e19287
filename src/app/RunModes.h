// The operations start-up hands a run over to, declared here so start-up
// can call them. Each lives with its subsystem; those that have not landed
// yet have their interim definition in PendingRunModes.cpp, which says
// which work replaces it.
#pragma once

#include <string>

#include "engine/UnattendedInstall.h"
#include "engine/Uninstall.h"

namespace korv {

// The wizard's page sequences. Each returns the process exit code of the
// run (kExitSuccess, or kExitUserDeclined when the user left it).
int RunInstallSequence();
int RunMaintenanceSequence();

}  // namespace korv
