// Setup.exe: the entry point hands over to the application object.
#include <windows.h>

#include "app/KorvInstallerApp.h"

namespace {
korv::CKorvInstallerApp theApp;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    return fw::RunApplication(instance, commandLine);
}
