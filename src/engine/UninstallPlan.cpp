#include "engine/UninstallPlan.h"

#include <windows.h>


#include "engine/ProductData.h"
#include "engine/Uninstall.h"
#include "framework/PrivateFolder.h"

namespace korv {

namespace {

namespace p = product;

// KUninstall's folder, its name and the log's name must fit MAX_PATH.
constexpr size_t kTempFolderChars = 260;

InstallStep Step(StepKind kind, const std::wstring& path, const std::wstring& arguments = {},
                 OnFailure onFailure = OnFailure::kIgnore, const std::wstring& failureName = {}) {
    InstallStep step;
    step.kind = kind;
    step.path = path;
    step.arguments = arguments;
    step.onFailure = onFailure;
    step.failureName = failureName;
    return step;
}

}  // namespace

UninstallFacts UninstallFacts::OfThisMachine(bool unattended) {
    UninstallFacts facts;
    facts.unattended = unattended;
    facts.msiexecPath = SystemMsiexecPath();
    facts.tempFolder = fw::TemporaryFolder(kTempFolderChars);
    return facts;
}

std::vector<InstallStep> PlanUninstall(const InstallSession& session, const UninstallFacts& facts) {
    const std::wstring T = session.targetFolder + L"\\";
    std::vector<InstallStep> steps;
    steps.push_back(Step(StepKind::kHideMainWindow, L""));
    steps.push_back(Step(StepKind::kOpenWaitWindow, L""));
    steps.push_back(Step(StepKind::kRunHidden, T + p::kProductProgram, L" -UnRegserver -nologo",
                         OnFailure::kRegisterAsk, p::kProductProgram));
    steps.back().role = ProgramRole::kNotJudged;
    steps.push_back(Step(StepKind::kRunHidden, T + p::kCollaborationUninstaller, L" /S", OnFailure::kRegisterAsk,
                         p::kCollaborationUninstaller));
    steps.back().role = ProgramRole::kNotJudged;
    // msiexec from the system folder only, as regsvr32: this process runs
    // with administrator rights. Whether it ran is not asked.
    if (!facts.msiexecPath.empty()) {
        steps.push_back(Step(StepKind::kStartProgram, facts.msiexecPath, MsiRemovalCommandLine(p::kProductMsiCode)));
        steps.back().role = ProgramRole::kNotJudged;
    }
    // Unattended, nobody answers KUninstall's pages and the deployment tool
    // needs its result: it runs quietly and is waited for.
    InstallStep handOver = Step(StepKind::kHandOverUninstaller, T, facts.unattended ? L"/quiet /norestart" : L"/norestart",
                                OnFailure::kFail, p::kUninstallerInstalled);
    handOver.destination = facts.tempFolder;
    handOver.wait = facts.unattended;
    steps.push_back(handOver);
    return steps;
}

}  // namespace korv
