#include "app/RunPlan.h"

#include "framework/DecimalText.h"
#include "app/ConsoleOutput.h"
#include "engine/InstallJob.h"
#include "engine/InstallPlan.h"
#include "engine/PlanText.h"
#include "engine/StepDescription.h"
#include "engine/UninstallPlan.h"
#include "session/DiagnosticLog.h"

namespace korv {

namespace {

void AppendSteps(const std::vector<InstallStep>& steps, const InstallSession& session, FailureReport report,
                 std::vector<std::wstring>& lines) {
    lines.push_back(L"steps, in order (" + fw::DecimalText(steps.size()) + L"):");
    for (size_t i = 0; i < steps.size(); ++i) {
        for (std::wstring& line : PlanStepLines(i + 1, DescribeStep(steps[i], session, report))) {
            lines.push_back(std::move(line));
        }
    }
}

void AppendInstallEnd(std::vector<std::wstring>& lines) {
    lines.push_back(L"a run ends with 0 when no step fails in a way that ends it (3010 when a package asks for a "
                    L"restart), else with 1603. A failure code is any exit code but 0, 3010, 1641 (1638 too from a "
                    L"prerequisite).");
}

}  // namespace

void AppendInstallPlan(const InstallSession& session, bool unattended, std::vector<std::wstring>& lines) {
    const FailureReport report = unattended ? FailureReport::kUnattended : FailureReport::kToPage;
    if (!unattended) {
        lines.push_back(L"the welcome page chooses the folder and the options; with the folder and the options of "
                        L"Setup.ini the copy-progress page would apply these steps, and the finish page then runs "
                        L"the configuration program:");
    }
    AppendSteps(PlanInstall(session, InstallFacts::OfThisMachine(session, unattended)), session, report, lines);
    AppendInstallEnd(lines);
}

void AppendRepairPlan(const InstallSession& session, std::vector<std::wstring>& lines) {
    AppendSteps(PlanInstall(session, InstallFacts::OfThisMachine(session, false)), session,
                FailureReport::kUnattended, lines);
    AppendInstallEnd(lines);
}

void AppendUninstallPlan(const InstallSession& session, std::vector<std::wstring>& lines) {
    AppendSteps(PlanUninstall(session, UninstallFacts::OfThisMachine(true)), session, FailureReport::kSilent, lines);
    lines.push_back(L"a run ends with KUninstall's result: 0, 3010 (for its 3010 or 1641) or 1603.");
}

void PublishPlan(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) {
        LogEvent(L"plan: " + line);
        text += line + L"\r\n";
    }
    WriteToConsole(text);
}

}  // namespace korv
