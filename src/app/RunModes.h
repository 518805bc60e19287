// The operations start-up hands a run over to, gathered so start-up can call
// them: each lives with its subsystem.
#pragma once

#include "app/InfoPageStep.h"      // the information page after an interactive install
#include "app/WizardSequence.h"    // the install and maintenance sequences
#include "engine/UnattendedInstall.h"
#include "engine/Uninstall.h"
