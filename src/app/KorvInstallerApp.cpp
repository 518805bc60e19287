#include "app/KorvInstallerApp.h"

#include <commctrl.h>

#include <memory>
// gdiplus.h expects min/max from windows.h, which NOMINMAX removes.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "framework/DecimalText.h"
#include "session/DiagnosticLog.h"
#include "session/ExitCodes.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "app/RunOptions.h"
#include "app/Startup.h"
#include "app/Switches.h"
#include "config/SetupConfig.h"
#include "engine/UninstallWindows.h"
#include "pages/TipDialog.h"
#include "pages/UninstallWait.h"
#include "skin/BackgroundWindows.h"
#include "framework/ResourceModule.h"
#include "version.h"

namespace korv {

namespace {

// Lives from start-up to exit; pages are created with it as owner.
std::unique_ptr<CKvPngMainBKDlg> g_mainBackground;

// Without its resource library the program has no window to show and no
// text to show in one: a plain system message says which file is missing,
// unless the run's messages are suppressed.
void ReportMissingResourceLibrary(bool suppressed) {
    std::wstring text = L"The setup program cannot start: its resource library\n\n" + ResourceLibraryPath() +
                        L"\n\nis missing or cannot be loaded. Copy the whole installation medium again.";
    LogEvent(text);
    if (!suppressed) {
        MessageBoxW(nullptr, text.c_str(), L"Korvanix 2024 Setup", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    }
}

// The diagnostic log goes where LOG says, or to the temporary folder. It is
// opened before anything else, so even a run without its resource library
// leaves a trace.
void StartRunLog(const RunOptions& options, const std::wstring& commandLine) {
    if (options.logPath.empty()) {
        OpenDefaultDiagnosticLog();
    } else {
        OpenDiagnosticLog(options.logPath);
    }
    LogEvent(L"Korvanix Setup " L"" KORV_FILE_VERSION_TEXT L" (" +
             std::wstring(sizeof(void*) == 8 ? L"64-bit" : L"32-bit") + L" build), process " +
             fw::DecimalText(GetCurrentProcessId()) + L", program " + RunningProgramPath());
    LogEvent(L"command line: " + CommandLineForLog(commandLine));
    LogEvent(L"diagnostic log: " + DiagnosticLogPath());
}

}  // namespace

CKorvInstallerApp::CKorvInstallerApp() {
    SetRestartSupport(kRestartSupport);
}

bool CKorvInstallerApp::StartGdiplus() {
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread, external codecs
    return Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) == Gdiplus::Ok;
}

bool CKorvInstallerApp::InitInstance() {
    const std::wstring commandLine = GetCommandLineW();
    // The log's place and the message rule may come as switches (/log, /quiet).
    const std::wstring words = ReadSwitches(commandLine).commandLine;
    const RunOptions options = ReadRunOptions(words);
    StartRunLog(options, commandLine);

    // The rich-edit library (from the system folder only: the process runs
    // with administrator rights) and the common controls.
    LoadLibraryExW(L"riched20.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    fw::CWinApp::InitInstance();

    previousResourceModule = fw::GetResourceModule();
    InstallSession& session = Session();
    session.resourceModule = LoadResourceLibrary();
    if (session.resourceModule == nullptr) {
        ReportMissingResourceLibrary(SuppressesMessages(options, ParseCommandLine(words)));
        SetExitCode(kExitFatal);
        LogEvent(L"exit code " + fw::DecimalText(kExitFatal));
        return false;
    }
    fw::SetResourceModule(session.resourceModule);

    // Controls that need COM (the information page's browser) set it up
    // around their own use.
    StartGdiplus();

    // The hidden main background window that owns every page, the tip
    // dialog as the presentation of every message, and the windows the
    // uninstall procedure shows.
    auto background = std::make_unique<CKvPngMainBKDlg>();
    if (background->Create()) {
        mainWindow = background.get();
        SetMainWnd(background.get());
        g_mainBackground = std::move(background);
    }
    SetTipPresenter(PresentWithTipDialog);
    SetUninstallWindows(MakeUninstallWindows(mainWindow));

    Startup startup;
    const int exitCode = startup.Run(RunningProgramPath(), commandLine);
    SetExitCode(exitCode);
    commandArgs = startup.Args();
    LogEvent(L"exit code " + fw::DecimalText(exitCode));
    return false;
}

int CKorvInstallerApp::ExitInstance() {
    // Its pictures come from the resource library and GDI+: it goes first.
    SetUninstallWindows({});
    SetTipPresenter({});
    SetMainWnd(nullptr);
    mainWindow = nullptr;
    g_mainBackground.reset();
    InstallSession& session = Session();
    if (session.msiModule != nullptr) {
        FreeLibrary(session.msiModule);
        session.msiModule = nullptr;
    }
    if (gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(gdiplusToken);
        gdiplusToken = 0;
    }
    if (previousResourceModule != nullptr) {
        fw::SetResourceModule(previousResourceModule);
    }
    CloseDiagnosticLog();
    return fw::CWinApp::ExitInstance();
}

}  // namespace korv
