// A PLAN=1 run's printed plan: the steps the chosen run mode would apply,
// planned by the very functions the run applies (engine/InstallPlan.h,
// engine/UninstallPlan.h), each with its exact command line and what its
// failure means.
#pragma once

#include <string>
#include <vector>

#include "session/InstallSession.h"

namespace korv {

// The install's steps: the unattended install's, or the job the wizard's
// copy-progress page would run with the options Setup.ini ticks.
void AppendInstallPlan(const InstallSession& session, bool unattended, std::vector<std::wstring>& lines);

// The unattended repair's steps: the wizard's Repair job for the copy in
// session.targetFolder, with session's choices, messages told unattended.
void AppendRepairPlan(const InstallSession& session, std::vector<std::wstring>& lines);

// The unattended uninstall's steps for the copy in session.targetFolder.
void AppendUninstallPlan(const InstallSession& session, std::vector<std::wstring>& lines);

// Writes the plan to the diagnostic log, line by line, and to the console
// the program was started from, if any.
void PublishPlan(const std::vector<std::wstring>& lines);

}  // namespace korv
