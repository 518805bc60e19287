// Process exit codes of a run, in the form deployment tools understand
// (the Windows Installer's codes). Start-up sets one through the
// application object; every run mode reports through these.
#pragma once

namespace korv {

constexpr int kExitSuccess = 0;          // the run did what was asked
constexpr int kExitUserDeclined = 1602;  // a start-up question answered Cancel, an Exit confirmed
constexpr int kExitFatal = 1603;         // a failed check, a failed step, a failed uninstall
constexpr int kExitAnotherSetup = 1618;  // another setup holds the single-instance mutex
constexpr int kExitBadCommandLine = 1639;  // an unusable command line (TARGETDIR, NUM), refused before anything
constexpr int kExitRestartRequired = 3010;  // the run did what was asked; a package needs a restart to finish

}  // namespace korv
