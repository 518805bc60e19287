#include "app/PassiveRun.h"

#include "app/WizardSequence.h"
#include "config/InstalledRecords.h"
#include "pages/FeaturePage.h"
#include "pages/FinishPage.h"
#include "session/DiagnosticLog.h"
#include "session/ExitCodes.h"
#include "session/InstallSession.h"
#include "session/TipMessage.h"

namespace korv {

int RunPassive(bool askBeforeCancel) {
    InstallSession& s = Session();
    s.askBeforeCancel = askBeforeCancel;
    // Nobody is asked anything: start-up's scope restores the rule after the run.
    SetMessagesSuppressed(true);
    const bool repair = s.installed == 1;
    LogEvent(repair ? L"passive run: the Repair of " + s.targetFolder : L"passive run: install into " + s.targetFolder);
    if (repair) {
        s.maintenanceMode = kModeRepair;
        TakeInstalledChoices(s);
    } else {
        s.maintenanceMode = kModeInstall;
        WriteSetupRecord();
    }
    int unused = 0;
    if (RunWizardPage(WizardPage::kCopyProgress, unused) != kPageDone) {
        return s.cancelRequested.load() != 0 ? kExitUserDeclined : kExitFatal;
    }
    if (!repair && !ConfigureWorkspace(nullptr)) {
        LogEvent(L"the product is installed but the configuration program did not configure it");
        return kExitFatal;
    }
    return kExitSuccess;
}

}  // namespace korv
