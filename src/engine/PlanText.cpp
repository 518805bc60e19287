#include "engine/PlanText.h"

#include "framework/DecimalText.h"

namespace korv {

namespace {

std::wstring Number(size_t number, size_t count) {
    return L"step " + fw::DecimalText(number) + L" of " + fw::DecimalText(count);
}

}  // namespace

std::vector<std::wstring> PlanStepLines(size_t number, const StepSummary& step) {
    std::wstring head = fw::DecimalText(number) + L". ";
    // Numbers right-aligned to three places keep the plan's columns straight.
    while (head.size() < 5) {
        head.insert(0, L" ");
    }
    std::vector<std::wstring> lines = {L"  " + head + step.action + (step.detail.empty() ? L"" : L": " + step.detail)};
    if (!step.onFailure.empty()) {
        lines.push_back(std::wstring(7, L' ') + L"on failure: " + step.onFailure);
    }
    return lines;
}

std::wstring StepBeginEvent(size_t number, size_t count, const StepSummary& step) {
    return Number(number, count) + L": " + step.action + (step.detail.empty() ? L"" : L": " + step.detail);
}

std::wstring StepEndEvent(size_t number, size_t count, bool succeeded, unsigned long long milliseconds,
                          bool endsRun) {
    std::wstring line = Number(number, count) + (succeeded ? L" done after " : L" failed after ") +
                        fw::DecimalText(milliseconds) + L" ms";
    if (!succeeded) {
        line += endsRun ? L": the run ends here" : L", the run goes on";
    }
    return line;
}

}  // namespace korv
