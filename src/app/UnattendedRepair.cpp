#include "app/UnattendedRepair.h"

#include <windows.h>

#include "app/RunPlan.h"
#include "config/InstalledRecords.h"
#include "config/RegistryValues.h"
#include "engine/InstallJob.h"
#include "pages/FeaturePage.h"
#include "session/DiagnosticLog.h"
#include "session/ExitCodes.h"
#include "session/InstallSession.h"

namespace korv {

namespace {

// The folder of the setup record; empty when there is none. A silent
// install writes only this record, so it is asked before Windows' list.
std::wstring SetupRecordFolder(const InstallSession& s) {
    ScopedKey key;
    std::wstring folder;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SetupRecordKeyPath(s.companyName, ProductRegName()).c_str(), 0,
                      KEY_READ | kRegistryView, key.Receive()) != ERROR_SUCCESS ||
        !ReadStringValue(key.Get(), L"path", 511, folder)) {
        folder.clear();
    }
    return CleanTargetDir(folder);
}

}  // namespace

int RunUnattendedRepair(const CommandArgs& args, bool plan, std::vector<std::wstring>& planLines) {
    InstallSession& s = Session();
    auto target = args.find(L"TARGETDIR");
    std::wstring folder = target != args.end() ? CleanTargetDir(target->second) : SetupRecordFolder(s);
    if (folder.empty() && s.installed == 1) {
        folder = s.targetFolder;
    }
    const bool installed = !folder.empty() && IsRegisteredInstallFolder(folder) &&
                           GetFileAttributesW((folder + L"\\install.log").c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::wstring mode = L"run mode: unattended repair of " + (folder.empty() ? L"?" : folder);
    if (!installed) {
        const std::wstring why = L"no installed copy to repair (no install.log there): the run ends with 1603";
        if (plan) {
            planLines.push_back(mode);
            planLines.push_back(why);
            return kExitSuccess;
        }
        LogEvent(mode);
        LogEvent(why);
        return kExitFatal;
    }
    s.targetFolder = folder;
    s.maintenanceMode = kModeRepair;
    TakeInstalledChoices(s);
    if (plan) {
        planLines.push_back(mode);
        AppendRepairPlan(s, planLines);
        return kExitSuccess;
    }
    LogEvent(mode);
    const InstallFacts facts = InstallFacts::OfThisMachine(s, false);
    switch (ApplyInstallPlan(PlanInstall(s, facts), nullptr, FailureReport::kUnattended)) {
    case JobOutcome::kDone:
        LogEvent(L"the repair is complete");
        return kExitSuccess;
    case JobOutcome::kCancelled:
        return kExitUserDeclined;
    case JobOutcome::kFailed:
    case JobOutcome::kFailedInstalled:
        break;
    }
    LogEvent(L"the repair failed; the copy stays");
    return kExitFatal;
}

}  // namespace korv
