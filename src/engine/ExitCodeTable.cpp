#include "engine/ExitCodeTable.h"

namespace korv {

namespace {

// The Windows Installer's codes, which installers of every kind use.
constexpr unsigned long kSuccess = 0;
constexpr unsigned long kRestartRequired = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED
constexpr unsigned long kRestartInitiated = 1641;  // ERROR_SUCCESS_REBOOT_INITIATED
constexpr unsigned long kOtherVersionInstalled = 1638;  // ERROR_PRODUCT_VERSION

}  // namespace

ProgramOutcome JudgeExitCode(unsigned long exitCode, ProgramRole role) {
    if (role == ProgramRole::kNotJudged) {
        return ProgramOutcome::kDone;
    }
    switch (exitCode) {
    case kSuccess:
        return ProgramOutcome::kDone;
    case kRestartRequired:
    case kRestartInitiated:
        return ProgramOutcome::kDoneRestartNeeded;
    case kOtherVersionInstalled:
        // A runtime package answers 1638 when the same or a newer version of
        // that runtime is already on the machine: what the product needs is
        // there. For the product's own packages it would mean a different
        // build of the product is installed, which is no success.
        return role == ProgramRole::kPrerequisite ? ProgramOutcome::kDone : ProgramOutcome::kFailed;
    default:
        return ProgramOutcome::kFailed;
    }
}

std::wstring ExitCodeMeaning(unsigned long exitCode, ProgramRole role) {
    if (role == ProgramRole::kNotJudged) {
        return L"not judged";
    }
    switch (JudgeExitCode(exitCode, role)) {
    case ProgramOutcome::kDone:
        return L"done";
    case ProgramOutcome::kDoneRestartNeeded:
        return L"done, the machine must restart to finish";
    case ProgramOutcome::kFailed:
        break;
    }
    return L"failed";
}

}  // namespace korv
