#include "engine/PackageRunner.h"

#include <iterator>
#include <vector>

#include "session/DiagnosticLog.h"
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
               HWND messageOwner) {
    Post(progress, WM_PACKAGE_BEGIN);
    if (!FileFound(path)) {
        ShowFileMissing(path, messageOwner);
        return 0;
    }
    if (!StartAndWait(nullptr, QuotedCommandLine(path, tail), kCommandLineChars, window)) {
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

bool StartAndWait(const wchar_t* application, const std::wstring& commandLine, size_t bufferChars,
                  WindowState window) {
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
    WaitForProcessEnd(process.hProcess);
    // Support wants to see what the program said; the setup never acts on it.
    DWORD exitCode = 0;
    if (GetExitCodeProcess(process.hProcess, &exitCode)) {
        LogEvent(L"process " + id + L" ended with exit code " + fw::DecimalText(exitCode));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
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
    return RunPackage(path, kPrerequisiteArguments, WindowState::kHidden, progress, progress);
}

int RunProductPackage(const std::wstring& path, HWND progress, HWND owner) {
    return RunPackage(path, kProductPackageArguments, WindowState::kDefault, progress,
                      progress != nullptr ? progress : owner);
}

int RunWithArguments(const std::wstring& path, const std::wstring& arguments, HWND progress, HWND owner) {
    return RunPackage(path, arguments, WindowState::kDefault, progress, progress != nullptr ? progress : owner);
}

int RunConfigurator(const std::wstring& path, HWND progress) {
    InstallSession& session = Session();
    TrimTrailingBackslashes(session.targetFolder);
    if (!FileFound(path)) {
        ShowFileMissing(path, progress);
        return 0;
    }
    return StartAndWait(nullptr, ConfiguratorCommandLine(path, session), kConfiguratorCommandLineChars,
                        WindowState::kHidden)
               ? 1
               : 0;
}

int RunHidden(const std::wstring& path, const std::wstring& arguments) {
    if (!FileFound(path)) {
        LogEvent(L"not there, nothing to start: " + path);
        return 1;
    }
    return StartAndWait(nullptr, QuotedCommandLine(path, arguments), kCommandLineChars, WindowState::kHidden) ? 1
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
                        WindowState::kDefault)
               ? 1
               : 0;
}

}  // namespace korv
