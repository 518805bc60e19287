// The application object: its start-up does the whole run and returns
// false, so the framework skips its message loop and goes to ExitInstance.
#pragma once

#include <windows.h>

#include "app/CommandLine.h"
#include "framework/WinApp.h"

namespace fw {
class CWnd;
}

namespace korv {

class CKorvInstallerApp : public fw::CWinApp {
public:
    CKorvInstallerApp();

    bool InitInstance() override;
    int ExitInstance() override;

private:
    bool StartGdiplus();

    CommandArgs commandArgs;
    ULONG_PTR gdiplusToken = 0;
    fw::CWnd* mainWindow = nullptr;
    HMODULE previousResourceModule = nullptr;
};

}  // namespace korv
