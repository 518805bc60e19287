// The start-up sequence after the framework, the resource library, GDI+ and
// the main background window are ready: the checks, Setup.ini, the installed
// records, the command line, and the run mode it chooses.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/CommandLine.h"

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

private:
    int RunChecksAndMode(const std::wstring& programPath);
    int RunMode();
    int AskAndUninstall(const std::wstring& question);
    void CloseMutex();

    CommandArgs args_;
    std::optional<korv::RunMode> chosenMode_;
    HANDLE mutex_ = nullptr;
};

// The address the information page shows: the looked-up page address with
// the client's language and version appended.
std::wstring InfoPageAddress(const std::wstring& targetUrl, const std::wstring& languageCode,
                             const std::wstring& productVersion);

}  // namespace korv
