#include "engine/PackageRunner.h"

#include <iterator>
#include <vector>

#include "session/DiagnosticLog.h"
#include "session/InstallSession.h"
#include "engine/EngineMessages.h"
#include "engine/FileOperations.h"
#include "engine/ProcessWait.h"
#include "session/ProgressMessages.h"
#include "framework/DecimalText.h"

namespace korv {

namespace {

void Post(HWND window, UINT message) {
    if (window != nullptr) {
        PostMessageW(window, message, 0, 0);
    }
}

// The steps the three package runners share; messageOwner owns the
// missing-file message.
int RunPackage(const std::wstring& path, const std::wstring& tail, WindowState window, HWND progress,
               HWND messageOwner, ProgramRole role) {
    Post(progress, WM_PACKAGE_BEGIN);
    if (!FileFound(path)) {
        ShowFileMissing(path, messageOwner);
        return 0;
    }
    if (!StartAndWait(nullptr, QuotedCommandLine(path, tail), kCommandLineChars, window, role)) {
        return 0;
    }
    Post(progress, WM_PACKAGE_END);
    return 1;
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

void TrimTrailingBackslashes(std::wstring& folder) {
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
}

}  // namespace

DWORD ProgramTimeoutMs(int minutes) {
    if (minutes <= 0) {
        return INFINITE;
    }
    // PACKAGETIMEOUT is bounded when it is read; the limit keeps the product
    // below INFINITE all the same.
    const unsigned long long ms = static_cast<unsigned long long>(minutes) * 60000ull;
    return ms >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(ms);
}

namespace {

std::wstring TimeoutText(DWORD ms) {
    if (ms % 60000 == 0) {
        return fw::DecimalText(ms / 60000) + L" minutes";
    }
    return fw::DecimalText(ms) + L" ms";
}

}  // namespace

bool StartAndWait(const wchar_t* application, const std::wstring& commandLine, size_t bufferChars,
                  WindowState window, ProgramRole role) {
    if (commandLine.size() + 1 > bufferChars) {
        LogEvent(L"not started, longer than its " + fw::DecimalText(bufferChars - 1) +
                 L"-character buffer: " + commandLine);
        return false;
    }
    // CreateProcessW may write into the command line, so it gets a copy.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (window == WindowState::kHidden) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(application, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        LogEvent(L"cannot start (error " + fw::DecimalText(GetLastError()) + L"): " + commandLine);
        return false;
    }
    const std::wstring id = fw::DecimalText(process.dwProcessId);
    LogEvent(L"started process " + id + L": " + commandLine +
             (application != nullptr ? L" (program " + std::wstring(application) + L")" : L""));
    const DWORD timeoutMs = Session().packageTimeoutMs;
    const bool ended = WaitForProcessEnd(process.hProcess, timeoutMs);
    bool done = false;
    DWORD exitCode = 0;
    if (!ended) {
        LogEvent(L"process " + id + L" still runs after the PACKAGETIMEOUT of " + TimeoutText(timeoutMs) +
                 L": it is left running and its step fails");
    } else if (!GetExitCodeProcess(process.hProcess, &exitCode)) {
        LogEvent(L"process " + id + L" ended; its exit code cannot be read (error " +
                 fw::DecimalText(GetLastError()) + L"): the step fails");
    } else {
        const ProgramOutcome outcome = JudgeExitCode(exitCode, role);
        LogEvent(L"process " + id + L" ended with exit code " + fw::DecimalText(exitCode) + L" (" +
                 ExitCodeMeaning(exitCode, role) + L")");
        if (outcome == ProgramOutcome::kDoneRestartNeeded) {
            Session().restartNeeded = 1;
        }
        done = outcome != ProgramOutcome::kFailed;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return done;
}

std::wstring QuotedCommandLine(const std::wstring& program, const std::wstring& tail) {
    return Quoted(program) + tail;
}

std::wstring ConfiguratorCommandLine(const std::wstring& program, const InstallSession& session) {
    std::wstring language = session.languageCode;
    for (wchar_t& c : language) {
        if (c == L'_') {
            c = L'-';
        }
    }
    std::wstring target = session.targetFolder;
    TrimTrailingBackslashes(target);

    std::wstring line = Quoted(program);
    line += L" lang=" + language;
    line += L" TARGETDIR=" + Quoted(target);
    line += L" PRODUCTNAME=" + Quoted(session.productName);
    line += L" VERSION=" + session.productVersion;
    line += session.product64Bit == 1 ? L" PLATFORM=x64" : L" PLATFORM=x86";
    line += L" NUM=" + fw::DecimalText(session.numValue);
    line += session.classicWorkspace != 0 ? L" WorkspaceName=0" : L" WorkspaceName=1";
    line += L" COMPANYNAME=" + Quoted(session.companyName);
    line += L" PRODUCTREG=" + Quoted(session.productRegName);
    line += L" -q";
    return line;
}

std::wstring RegisterCommandLine(const std::wstring& libraryPath) {
    return L"regsvr32 " + Quoted(libraryPath) + L" -s";
}

std::wstring SystemRegsvr32Path() {
    wchar_t folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(folder, static_cast<UINT>(std::size(folder)));
    if (length == 0 || length >= std::size(folder)) {
        return {};
    }
    return std::wstring(folder, length) + L"\\regsvr32.exe";
}

int RunPrerequisite(const std::wstring& path, HWND progress) {
    return RunPackage(path, kPrerequisiteArguments, WindowState::kHidden, progress, progress,
                      ProgramRole::kPrerequisite);
}

int RunProductPackage(const std::wstring& path, HWND progress, HWND owner) {
    return RunPackage(path, kProductPackageArguments, WindowState::kDefault, progress,
                      progress != nullptr ? progress : owner, ProgramRole::kInstallStep);
}

int RunWithArguments(const std::wstring& path, const std::wstring& arguments, HWND progress, HWND owner) {
    return RunPackage(path, arguments, WindowState::kDefault, progress, progress != nullptr ? progress : owner,
                      ProgramRole::kInstallStep);
}

int RunConfigurator(const std::wstring& path, HWND progress) {
    InstallSession& session = Session();
    TrimTrailingBackslashes(session.targetFolder);
    if (!FileFound(path)) {
        ShowFileMissing(path, progress);
        return 0;
    }
    return StartAndWait(nullptr, ConfiguratorCommandLine(path, session), kConfiguratorCommandLineChars,
                        WindowState::kHidden, ProgramRole::kInstallStep)
               ? 1
               : 0;
}

int RunHidden(const std::wstring& path, const std::wstring& arguments, ProgramRole role) {
    if (!FileFound(path)) {
        LogEvent(L"not there, nothing to start: " + path);
        return 1;
    }
    return StartAndWait(nullptr, QuotedCommandLine(path, arguments), kCommandLineChars, WindowState::kHidden, role)
               ? 1
               : 0;
}

int RegisterComServer(const std::wstring& libraryPath) {
    if (!FileFound(libraryPath)) {
        LogEvent(L"not there, nothing to register: " + libraryPath);
        return 1;
    }
    const std::wstring regsvr32 = SystemRegsvr32Path();
    if (regsvr32.empty()) {
        return 0;
    }
    return StartAndWait(regsvr32.c_str(), RegisterCommandLine(libraryPath), kCommandLineChars,
                        WindowState::kDefault, ProgramRole::kInstallStep)
               ? 1
               : 0;
}

}  // namespace korv
