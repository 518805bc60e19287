// CWinApp: the one application object of the process, the thread object of
// the program's first thread. The program's entry point is one line:
//
//   CMyApp theApp;   // registers itself
//   int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
//       return fw::RunApplication(instance, commandLine);
//   }
#pragma once

#include <windows.h>

#include <string>

#include "framework/WinThread.h"

namespace fw {

class CWinApp : public CWinThread {
public:
    CWinApp();
    ~CWinApp() override;

    // InitInstance; the message loop only when it returned true (otherwise
    // the main window, if any is left, is destroyed); then ExitInstance,
    // whose value is returned as the process exit code.
    int Run() override;

    // The base start-up: registers for restarts when SetRestartSupport asked
    // for it. Returns true.
    bool InitInstance() override;

    HINSTANCE InstanceHandle() const { return instance_; }
    // The command line after the program name, as the entry point got it.
    const wchar_t* CommandLine() const { return commandLine_.c_str(); }
    void SetStartupValues(HINSTANCE instance, const wchar_t* commandLine);

    // Restart-manager support flags; bit 1 (restart) registers the program
    // with the system's restart manager in InitInstance.
    static constexpr DWORD kRestartSupport = 1;
    void SetRestartSupport(DWORD flags) { restartFlags_ = flags; }
    DWORD RestartSupport() const { return restartFlags_; }

private:
    HINSTANCE instance_;
    std::wstring commandLine_;
    DWORD restartFlags_ = 0;
};

// The registered application object, or null.
CWinApp* AfxGetApp();

// The exit code RunApplication returns when no application object exists.
constexpr int kExitNoApplication = 255;

// Gives the registered application its instance handle and command line and
// runs it; its value is the process exit code.
int RunApplication(HINSTANCE instance, const wchar_t* commandLine);

}  // namespace fw
