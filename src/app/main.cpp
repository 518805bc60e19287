// Setup.exe: the entry point hands over to the application object.
#include <windows.h>

#include "app/KorvInstallerApp.h"

namespace {
korv::CKorvInstallerApp theApp;

// The program runs with administrator rights from folders other users may
// write to (a copied medium, a download folder, an installation folder):
// every DLL loaded from here on, by the program or by the system's own
// libraries on its behalf, comes from the system folder only. Looked up at
// run time: Windows 7 has it only with its 2011 loader update.
void LoadDllsFromTheSystemFolderOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault != nullptr) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    LoadDllsFromTheSystemFolderOnly();
    return fw::RunApplication(instance, commandLine);
}
