#include "app/Startup.h"

#include "session/ExitCodes.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "app/PreflightChecks.h"
#include "app/InfoPageStep.h"
#include "app/RunModes.h"
#include "app/WizardSequence.h"
#include "session/TipMessage.h"
#include "config/InstalledRecords.h"
#include "config/Probes.h"
#include "config/SetupConfig.h"

namespace korv {

namespace {

const wchar_t kText2014[] =
    L"You are trying to uninstall Korvanix. Once the operation is determined to be irreversible, please save the "
    L"data properly. Are you sure to uninstall Korvanix?";

void Notice(int id, const wchar_t* fallback) {
    ShowTipMessage(kTipNotice, LoadText(id, fallback).c_str());
}

}  // namespace

Startup::~Startup() {
    CloseMutex();
}

void Startup::CloseMutex() {
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }
}

std::wstring InfoPageAddress(const std::wstring& targetUrl, const std::wstring& languageCode,
                             const std::wstring& productVersion) {
    if (targetUrl.empty()) {
        return {};
    }
    // The channel number carries the language, not the channel: the service
    // pages are chosen by language.
    return targetUrl + L"?clientType=DF_Korvanix&channelNo=" + languageCode + L"&clientVersion=" + productVersion;
}

int Startup::Run(const std::wstring& programPath, const std::wstring& commandLine) {
    // Words an unattended run cannot use are refused before any check or
    // question, so a deployment tool learns at once that its command line
    // is unusable, and nothing has been touched.
    args_ = ParseCommandLine(commandLine);
    if (int refusal = JudgeCommandLine(args_)) {
        return refusal;
    }

    int exitCode = RunChecksAndMode(programPath);
    // A run that did what was asked but installed a package that needs a
    // restart to finish says so, as the Windows Installer does, so the
    // deployment tool schedules the restart.
    if (exitCode == kExitSuccess && Session().restartNeeded == 1) {
        exitCode = kExitRestartRequired;
    }
    Session().FreePackages();
    CloseMutex();
    return exitCode;
}

int Startup::RunChecksAndMode(const std::wstring& programPath) {
    InstallSession& s = Session();

    if (!IsUserAdmin()) {
        Notice(2009,
               L"You do not have sufficient security privileges to install software on this computer.Please contact "
               L"your system administrator or log off and log-in again as an administrator.");
        return kExitFatal;
    }

    DetectOs64Bit();

    if (!CheckWindowsVersion()) {
        return kExitFatal;
    }

    if (!DetectDotNetVersion()) {
        Notice(2037,
               L"Microsoft .NET Framework 4.0 Client Package or greater needs to be installed for this installation "
               L"to continue.");
        return kExitFatal;
    }

    DetectOfficeBitness();

    std::wstring mutexName = LoadText(2022, L"Korvanix2024");
    mutex_ = CreateMutexW(nullptr, TRUE, mutexName.c_str());
    // No handle at all means another setup holds the name too: it created
    // the mutex with rights this process lacks (access denied), or another
    // kind of object carries the name (invalid handle). Either way this run
    // would not be protected from it.
    if (mutex_ == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
        ShowTipMessage(kTipQuestion,
                       LoadText(2021,
                                L"Another instance of this setup is already running. Please wait for the other "
                                L"instance to finish and then try again.")
                           .c_str());
        return kExitAnotherSetup;
    }

    if (!WaitForProductToClose()) {
        return kExitUserDeclined;
    }

    switch (ReadSetupConfigFile(programPath, s)) {
    case SetupIniState::kRead:
        break;
    case SetupIniState::kMissing:
        ShowTipMessage(kTipNotice, L"Error:The lack of configuration file :Setup.ini");
        return kExitFatal;
    case SetupIniState::kTooLarge:
        ShowTipMessage(kTipNotice, L"Error:The configuration file Setup.ini is too large to be read");
        return kExitFatal;
    }

    FindOtherBuildCopy();
    if (s.installed == 1) {
        return AskAndUninstall(LoadText(2046,
                                        L"Korvanix 2024 has been installed. You need to uninstall it before installing "
                                        L"this version. Do you want to uninstall?"));
    }

    s.maintenanceMode = kModeUninstall;
    s.productRegName = ProductRegName();
    FindInstalledCopy();

    if (s.os64Bit == 0 && s.product64Bit == 1) {
        Notice(2024,
               L"A 64-bit version of Korvanix 2020 has been installed , Please uninstall it before installing the "
               L"32-bit version.");
        return kExitFatal;
    }
    if (s.installed == 1) {
        if (s.product64Bit == 0 && s.os64Bit == 1 && s.installed64Bit == 1) {
            return AskAndUninstall(LoadText(2011,
                                            L"A 64-bit version of Korvanix 2024 has been installed , Please uninstall "
                                            L"it before installing the 32-bit version.") +
                                   LoadText(2014, kText2014));
        }
        if (s.product64Bit != 0 && s.installed64Bit == 0) {
            return AskAndUninstall(LoadText(2023,
                                            L"A 64-bit version of Korvanix 2024 has been installed , Please uninstall "
                                            L"it before installing the 32-bit version.") +
                                   LoadText(2014, kText2014));
        }
    }

    return RunMode();
}

// The conflict questions: OK uninstalls the registered copy (targetFolder and
// packages describe it now). Either way the run ends without installing, so
// a deployment tool never takes it for an installation.
int Startup::AskAndUninstall(const std::wstring& question) {
    if (ShowTipMessage(kTipQuestion, question.c_str()) != kTipOk) {
        return kExitUserDeclined;
    }
    if (UninstallProduct() == 0) {
        Notice(2013, L"Failed to uninstall!");
    }
    return kExitFatal;
}

int Startup::RunMode() {
    InstallSession& s = Session();
    chosenMode_ = DecideRunMode(args_, s.installed);
    switch (*chosenMode_) {
    case RunMode::UnattendedUninstall: {
        auto target = args_.find(L"TARGETDIR");
        if (target != args_.end()) {
            s.targetFolder = CleanTargetDir(target->second);
        }
        return UninstallProduct() == 1 ? kExitSuccess : kExitFatal;
    }
    case RunMode::UnattendedInstall: {
        // The unattended install works with the folder and number of the
        // command line; it records the folder in the setup record itself.
        auto target = args_.find(L"TARGETDIR");
        if (target != args_.end()) {
            s.targetFolder = CleanTargetDir(target->second);
        }
        auto num = args_.find(L"NUM");
        if (num != args_.end()) {
            ParseNumWord(num->second, s.numValue);
        }
        return RunUnattendedInstall() == 1 ? kExitSuccess : kExitFatal;
    }
    case RunMode::Maintenance:
        return RunMaintenance();
    case RunMode::InteractiveInstall: {
        int exitCode = RunInstallWizard();
        RunInfoPageStep(s);
        return exitCode;
    }
    }
    return kExitFatal;
}

}  // namespace korv
