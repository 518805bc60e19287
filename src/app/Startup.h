// The start-up sequence after the framework, the resource library, GDI+ and
// the main background window are ready: the checks, Setup.ini, the installed
// records, the command line, and the run mode it chooses.
//
// Every check, its outcome and the run mode go to the diagnostic log. A
// PLAN=1 run goes through the same sequence with every message answered
// unseen, takes no mutex, and prints the plan of the chosen run mode
// instead of applying it (RunPlan.h); /? and HELP=1 show the command-line
// help before anything else.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/RunOptions.h"

namespace korv {

class Startup {
public:
    Startup() = default;
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // Runs the sequence for the program at programPath (Setup.ini lies beside
    // it) with the whole command line, and returns the process exit code.
    int Run(const std::wstring& programPath, const std::wstring& commandLine);

    const CommandArgs& Args() const { return args_; }

    // The run mode the sequence chose; empty when it ended before choosing.
    std::optional<korv::RunMode> ChosenMode() const { return chosenMode_; }

    // A PLAN=1 run's printed lines (empty for other runs).
    const std::vector<std::wstring>& PlanLines() const { return planLines_; }

private:
    int RunChecksAndMode(const std::wstring& programPath);
    int RunMode();
    int AskAndUninstall(const std::wstring& question);
    bool TakeMutex();
    void CloseMutex();
    void ShowHelp();
    // Logs a fact or an outcome; a plan run prints it as well.
    void Note(const std::wstring& text);
    // The run ends before its run mode: why, and with which exit code.
    int EndsWith(int exitCode, const std::wstring& why);

    CommandArgs args_;
    RunOptions options_;
    std::optional<korv::RunMode> chosenMode_;
    std::vector<std::wstring> planLines_;
    HANDLE mutex_ = nullptr;
};

// The address the information page shows: the looked-up page address with
// the client's language and version appended.
std::wstring InfoPageAddress(const std::wstring& targetUrl, const std::wstring& languageCode,
                             const std::wstring& productVersion);

}  // namespace korv
