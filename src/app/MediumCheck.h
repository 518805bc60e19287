// Start-up's check of the medium against its signed manifest, once Setup.ini
// is read and before any plan applies a step (MediumVerification.h).
#pragma once

#include <string>
#include <vector>

#include "session/InstallSession.h"

namespace korv {

// The medium files (relative to it) that any install plan for this Setup.ini
// can start, copy or register: every package a person could choose, the
// wizard's and the unattended install's steps.
std::vector<std::wstring> PlannedMediumFiles(InstallSession& session);

// Verifies the medium of `session`. True to go on; false after the message
// naming the refused file and the log lines (expected and found hash).
// A plan run (`planLines` given) lists each planned file with its hash and
// result instead of telling anything, and goes on.
bool CheckMedium(InstallSession& session, std::vector<std::wstring>* planLines);

}  // namespace korv
