// How a step of a plan reads, in a PLAN=1 run's printed plan and in the
// diagnostic log of a real run. Plain values only: no platform.
//
//     3. prerequisite: "D:\Msi\vc_redist.x64.exe" -q -norestart
//        on failure: the install ends (1603)
#pragma once

#include <string>
#include <vector>

namespace korv {

struct StepSummary {
    std::wstring action;     // the kind of step, without ": " in it ("prerequisite", "copy", ...)
    std::wstring detail;     // the exact command line, the package with its properties, or what is written
    std::wstring onFailure;  // what a failure means; empty when its result is not used
    bool startsProgram = false;  // detail is the command line of a program it starts
};

// The plan's lines for one step: "  N. ACTION: DETAIL", then, when a
// failure means something, "     on failure: RULE".
std::vector<std::wstring> PlanStepLines(size_t number, const StepSummary& step);

// "step N of M: ACTION: DETAIL"
std::wstring StepBeginEvent(size_t number, size_t count, const StepSummary& step);

// "step N of M done after MS ms", or "... failed after MS ms" and, when
// the failure ends the run, ": ends the run".
std::wstring StepEndEvent(size_t number, size_t count, bool succeeded, unsigned long long milliseconds,
                          bool endsRun);

}  // namespace korv
