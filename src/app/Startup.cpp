#include "app/Startup.h"

#include "framework/DecimalText.h"
#include "session/DiagnosticLog.h"
#include "session/ExitCodes.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "app/ConsoleOutput.h"
#include "app/HelpText.h"
#include "app/PreflightChecks.h"
#include "app/InfoPageStep.h"
#include "app/PassiveRun.h"
#include "app/MediumCheck.h"
#include "app/RunModes.h"
#include "app/RunPlan.h"
#include "app/Switches.h"
#include "app/UnattendedRepair.h"
#include "app/WizardSequence.h"
#include "session/TipMessage.h"
#include "config/InstalledRecords.h"
#include "config/MediumVerification.h"
#include "config/Probes.h"
#include "config/SetupConfig.h"
#include "engine/PackageRunner.h"
#include "engine/Uninstall.h"

namespace korv {

namespace {

const wchar_t kText2014[] =
    L"You are trying to uninstall Korvanix. Once the operation is determined to be irreversible, please save the "
    L"data properly. Are you sure to uninstall Korvanix?";

void Notice(int id, const wchar_t* fallback) {
    ShowTipMessage(kTipNotice, LoadText(id, fallback).c_str());
}

const wchar_t* YesNo(bool yes) {
    return yes ? L"yes" : L"no";
}

const wchar_t* ModeName(RunMode mode) {
    switch (mode) {
    case RunMode::UnattendedUninstall: return L"unattended uninstall";
    case RunMode::UnattendedInstall: return L"unattended install";
    case RunMode::Maintenance: return L"maintenance of the installed copy (the start page offers Modify, Repair and Uninstall)";
    case RunMode::InteractiveInstall: return L"interactive install (the wizard)";
    }
    return L"?";
}

std::wstring EditionName(int product64Bit) {
    return product64Bit == 1 ? L"64-bit edition" : L"32-bit edition";
}

// The values the Windows version check judges.
std::wstring WindowsFacts() {
    return L"Windows " + ReadWindowsVersionValue(L"CurrentVersion") + L" build " +
           ReadWindowsVersionValue(L"CurrentBuildNumber") + L" \"" + ReadWindowsVersionValue(L"CSDVersion") +
           L"\" \"" + ReadWindowsVersionValue(L"ProductName") + L"\", " +
           (Session().os64Bit == 1 ? L"64-bit" : L"32-bit") + L" processor architecture";
}

// Messages are answered unseen for the length of a run that asks for it.
class SuppressionScope {
public:
    explicit SuppressionScope(bool suppress) : previous_(SetMessagesSuppressed(suppress)) {}
    ~SuppressionScope() { SetMessagesSuppressed(previous_); }
    SuppressionScope(const SuppressionScope&) = delete;
    SuppressionScope& operator=(const SuppressionScope&) = delete;

private:
    bool previous_;
};

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

void Startup::Note(const std::wstring& text) {
    // A plan's lines go to the log when it is published.
    if (options_.plan) {
        planLines_.push_back(L"  " + text);
    } else {
        LogEvent(text);
    }
}

int Startup::EndsWith(int exitCode, const std::wstring& why) {
    Note(why + L": the run ends with exit code " + fw::DecimalText(exitCode));
    return exitCode;
}

void Startup::ShowHelp() {
    const std::wstring help = CommandLineHelp();
    if (WriteToConsole(help)) {
        LogEvent(L"command-line help printed to the console");
        return;
    }
    // A console has room for the whole reference; a message shows the
    // brief one, which fits its card.
    LogEvent(L"command-line help shown in a message");
    ShowTipMessage(kTipNotice, CommandLineHelpBrief().c_str());
}

int Startup::Run(const std::wstring& programPath, const std::wstring& commandLine) {
    const SwitchWords switches = ReadSwitches(commandLine);
    args_ = ParseCommandLine(switches.commandLine);
    options_ = ReadRunOptions(switches.commandLine);
    planLines_.clear();
    SuppressionScope suppression(SuppressesMessages(options_, args_));
    Session().packageTimeoutMs = ProgramTimeoutMs(options_.packageTimeoutMinutes);

    if (options_.help) {
        ShowHelp();
        return kExitSuccess;
    }
    if (options_.plan) {
        planLines_ = {L"Korvanix Setup, PLAN=1: what a run with these words would do. Nothing has been started, "
                      L"written (but this log) or shown.",
                      L"command line: " + CommandLineForLog(commandLine), L"start-up:"};
    }

    // Words an unattended run cannot use are refused before any check or
    // question, so a deployment tool learns at once that its command line
    // is unusable, and nothing has been touched.
    int exitCode = switches.refused ? kExitBadCommandLine : JudgeRunOptions(args_);
    if (exitCode == kExitSuccess) {
        exitCode = JudgeRepairWord(args_);
    }
    if (exitCode == kExitSuccess) {
        exitCode = JudgeCommandLine(args_);
    }
    if (exitCode != kExitSuccess) {
        EndsWith(exitCode, L"the command line is refused");
    } else {
        exitCode = RunChecksAndMode(programPath);
    }
    // A run that did what was asked but installed a package that needs a
    // restart to finish says so, as the Windows Installer does, so the
    // deployment tool schedules the restart.
    if (exitCode == kExitSuccess && Session().restartNeeded == 1) {
        exitCode = kExitRestartRequired;
    }
    Session().FreePackages();
    ReleaseMediumFiles();
    CloseMutex();

    if (options_.plan) {
        PublishPlan(planLines_);
        return kExitSuccess;
    }
    return exitCode;
}

bool Startup::TakeMutex() {
    const std::wstring mutexName = LoadText(2022, L"Korvanix2024");
    if (options_.plan) {
        // A plan only looks: holding the mutex, even briefly, could turn a
        // real run away.
        HANDLE other = OpenMutexW(SYNCHRONIZE, FALSE, mutexName.c_str());
        const bool held = other != nullptr || GetLastError() == ERROR_ACCESS_DENIED;
        if (other != nullptr) {
            CloseHandle(other);
        }
        return !held;
    }
    mutex_ = CreateMutexW(nullptr, TRUE, mutexName.c_str());
    // No handle at all means another setup holds the name too: it created
    // the mutex with rights this process lacks (access denied), or another
    // kind of object carries the name (invalid handle). Either way this run
    // would not be protected from it.
    return mutex_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
}

int Startup::RunChecksAndMode(const std::wstring& programPath) {
    InstallSession& s = Session();

    const bool admin = IsUserAdmin();
    Note(std::wstring(L"administrator rights: ") + YesNo(admin));
    if (!admin) {
        Notice(2009,
               L"You do not have sufficient security privileges to install software on this computer.Please contact "
               L"your system administrator or log off and log-in again as an administrator.");
        return EndsWith(kExitFatal, L"not an administrator");
    }

    DetectOs64Bit();
    Note(WindowsFacts());

    if (!CheckWindowsVersion()) {
        return EndsWith(kExitFatal, L"this Windows version is not supported");
    }
    Note(L"Windows version: supported");

    if (!DetectDotNetVersion()) {
        Notice(2037,
               L"Microsoft .NET Framework 4.0 Client Package or greater needs to be installed for this installation "
               L"to continue.");
        return EndsWith(kExitFatal, L"no .NET Framework found");
    }
    Note(L".NET Framework: " + s.dotNetVersion);

    const bool officeKnown = DetectOfficeBitness();
    Note(L"Office: " + std::wstring(officeKnown ? (s.office64Bit == 1 ? L"64-bit" : L"32-bit") : L"not found"));

    if (!TakeMutex()) {
        ShowTipMessage(kTipQuestion,
                       LoadText(2021,
                                L"Another instance of this setup is already running. Please wait for the other "
                                L"instance to finish and then try again.")
                           .c_str());
        return EndsWith(kExitAnotherSetup, L"another setup is running");
    }
    Note(L"single instance: no other setup runs");

    const bool productRan = FindProcess(L"korv.exe") != 0;
    if (!WaitForProductToClose()) {
        return EndsWith(kExitUserDeclined, L"korv.exe runs and the question was answered Cancel");
    }
    Note(productRan ? L"korv.exe: was running, is closed now" : L"korv.exe: not running");

    std::wstring refusedKey;
    switch (ReadSetupConfigFile(programPath, s, &refusedKey)) {
    case SetupIniState::kRead:
        break;
    case SetupIniState::kMissing:
        ShowTipMessage(kTipNotice, L"Error:The lack of configuration file :Setup.ini");
        return EndsWith(kExitFatal, L"Setup.ini is missing beside " + programPath);
    case SetupIniState::kTooLarge:
        ShowTipMessage(kTipNotice, L"Error:The configuration file Setup.ini is too large to be read");
        return EndsWith(kExitFatal, L"Setup.ini is too large");
    case SetupIniState::kUnusable:
        ShowTipMessage(kTipNotice, (L"Error:The configuration file Setup.ini has an unusable value: " + refusedKey).c_str());
        return EndsWith(kExitFatal, L"Setup.ini: refused " + refusedKey);
    }
    Note(L"Setup.ini: " + s.setupFolder + L"Setup.ini: " + s.productName + L" " + s.productVersion + L", " +
         EditionName(s.product64Bit) + L", language " + s.languageCode + L", default folder " + s.targetFolder +
         L", " + fw::DecimalText(s.packages.size()) + L" optional packages");
    if (!CheckMedium(s, options_.plan ? &planLines_ : nullptr)) {
        return EndsWith(kExitFatal, L"the medium is refused");
    }

    FindOtherBuildCopy();
    if (s.installed == 1) {
        Note(L"the other build is installed in " + s.targetFolder);
        return AskAndUninstall(LoadText(2046,
                                        L"Korvanix 2024 has been installed. You need to uninstall it before installing "
                                        L"this version. Do you want to uninstall?"));
    }

    s.maintenanceMode = kModeUninstall;
    s.productRegName = ProductRegName();
    FindInstalledCopy();
    Note(s.installed == 1 ? L"installed copy: " + s.targetFolder + L" (" +
                                (s.installed64Bit == 1 ? L"64-bit" : L"32-bit") + L" edition)"
                          : std::wstring(L"installed copy: none"));

    if (s.os64Bit == 0 && s.product64Bit == 1) {
        Notice(2024,
               L"A 64-bit version of Korvanix 2020 has been installed , Please uninstall it before installing the "
               L"32-bit version.");
        return EndsWith(kExitFatal, L"a 64-bit edition cannot be installed on 32-bit Windows");
    }
    if (s.installed == 1) {
        if (s.product64Bit == 0 && s.os64Bit == 1 && s.installed64Bit == 1) {
            Note(L"the other edition is installed");
            return AskAndUninstall(LoadText(2011,
                                            L"A 64-bit version of Korvanix 2024 has been installed , Please uninstall "
                                            L"it before installing the 32-bit version.") +
                                   LoadText(2014, kText2014));
        }
        if (s.product64Bit != 0 && s.installed64Bit == 0) {
            Note(L"the other edition is installed");
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
        return EndsWith(kExitUserDeclined, L"the question to uninstall it was answered Cancel");
    }
    if (UninstallProduct() == 0) {
        Notice(2013, L"Failed to uninstall!");
    }
    return EndsWith(kExitFatal, L"the other copy's uninstall was handed over; nothing is installed");
}

int Startup::RunMode() {
    InstallSession& s = Session();
    chosenMode_ = DecideRunMode(args_, s.installed);
    const std::wstring mode = std::wstring(L"run mode: ") + ModeName(*chosenMode_);
    if (options_.plan) {
        planLines_.push_back(mode);
    } else {
        LogEvent(mode);
    }
    switch (*chosenMode_) {
    case RunMode::UnattendedUninstall: {
        auto target = args_.find(L"TARGETDIR");
        if (target != args_.end()) {
            s.targetFolder = CleanTargetDir(target->second);
        }
        if (options_.plan) {
            AppendUninstallPlan(s, planLines_);
            return kExitSuccess;
        }
        // KUninstall runs quietly and is waited for: the run's exit code
        // is its result.
        const int exitCode = UninstallProductQuietly() == 1 ? kExitSuccess : kExitFatal;
        LogEvent(exitCode == kExitSuccess ? L"KUninstall has removed the copy" : L"the uninstall failed");
        return exitCode;
    }
    case RunMode::UnattendedInstall: {
        if (RepairRequested(args_)) {
            return RunUnattendedRepair(args_, options_.plan, planLines_);
        }
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
        s.registerUnattended = IsOneWord(args_, L"REGISTER");
        const bool passive = IsOneWord(args_, L"PASSIVE");
        if (options_.plan) {
            AppendInstallPlan(s, !passive, planLines_);
            return kExitSuccess;
        }
        return passive ? RunPassive(!options_.suppressMessages) : RunUnattendedInstall();
    }
    case RunMode::Maintenance:
        if (options_.plan) {
            planLines_.push_back(L"the steps follow from the choice on the start page; a plan stops here.");
            return kExitSuccess;
        }
        return RunMaintenance();
    case RunMode::InteractiveInstall: {
        if (options_.plan) {
            AppendInstallPlan(s, false, planLines_);
            return kExitSuccess;
        }
        int exitCode = RunInstallWizard();
        RunInfoPageStep(s);
        return exitCode;
    }
    }
    return kExitFatal;
}

}  // namespace korv
