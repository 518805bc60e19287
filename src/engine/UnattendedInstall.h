// The unattended install: the install job's procedure on the UI thread,
// without a page.
#pragma once

namespace korv {

// The run's exit code: 0 when every step that can fail succeeded (start-up
// turns it into 3010 when a package asked for a restart); 1603 when a step
// failed, after a new installation has been rolled back and the rollback
// waited for, or when the configuration program failed (the installation
// then stays).
int RunUnattendedInstall();

}  // namespace korv
