// What a started program's exit code means for the run: the one table every
// program the installation starts goes through. Plain values in and out, no
// platform, so the fuzzers build it for Linux as well.
//
//   switch (JudgeExitCode(code, ProgramRole::kPrerequisite)) ...
#pragma once

#include <string>

namespace korv {

enum class ProgramRole {
    kPrerequisite,  // a Microsoft runtime or update from the medium's Msi folder
    kInstallStep,   // any other program the installation starts
    kNotJudged,     // the uninstall's clean-up programs: KUninstall removes what they leave
};

enum class ProgramOutcome {
    kDone,
    kDoneRestartNeeded,  // done; the machine must restart to finish
    kFailed,
};

ProgramOutcome JudgeExitCode(unsigned long exitCode, ProgramRole role);

// "done", "done, a restart is needed", "failed" or "not judged", for the diagnostic log.
std::wstring ExitCodeMeaning(unsigned long exitCode, ProgramRole role);

}  // namespace korv
