// The unattended repair (REPAIR=1): the maintenance Repair of the installed
// copy with the installed copy's choices, without a page.
#pragma once

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace korv {

// The installed copy is the folder TARGETDIR names, else the one the setup
// record names, else the one Windows' uninstall record names; it counts as
// installed when its install.log is there (every installation writes it).
// Returns 0 when the Repair finished, 1603 when no copy is installed or a
// step failed (the copy stays), 1602 when it was cancelled. With plan, only
// appends what the run would do to planLines and returns 0.
int RunUnattendedRepair(const CommandArgs& args, bool plan, std::vector<std::wstring>& planLines);

}  // namespace korv
