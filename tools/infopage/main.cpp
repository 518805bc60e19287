// info_page.exe: the information page step outside an installation, for
// looking at it by hand and for its screenshot.
//
//   info_page.exe --server BASE [--ready FILE --done FILE]
//       runs the step as after a finished installation (version 21.0,
//       language en_us, channel 0000): the signed lookup at BASE, then the
//       page it names, if any
//   info_page.exe --page ADDRESS [--ready FILE --done FILE]
//       shows ADDRESS in the information page directly
//
// With --ready and --done the program writes the window's place ("x y width
// height") to the --ready file once the page is on screen, and closes the
// page when the --done file appears (scripts take the screenshot between). It prints what it did; exit code 0 when a page
// was shown, 1 when the lookup named none, 2 for a wrong command line.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "app/InfoPageStep.h"
#include "framework/ResourceModule.h"
#include "online/HttpRequestRules.h"
#include "online/InfoImportDlg.h"
#include "resource.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"

namespace {

std::atomic<bool> g_shown{false};

BOOL CALLBACK NoteInfoPage(HWND window, LPARAM out) {
    if (IsWindowVisible(window) && GetDlgItem(window, IDC_INFO_BROWSER) != nullptr) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Notes the page once it is up; with the two files, signals it and closes it
// on request. Ends with the program.
void WatchForPage(DWORD thread, std::wstring ready, std::wstring done) {
    std::thread([=] {
        HWND page = nullptr;
        while (page == nullptr) {
            Sleep(50);
            EnumThreadWindows(thread, NoteInfoPage, reinterpret_cast<LPARAM>(&page));
        }
        g_shown = true;
        if (ready.empty()) {
            return;
        }
        Sleep(1000);  // let the browser paint before the picture is taken
        // The ready file tells where the window is: "x y width height".
        RECT frame{};
        GetWindowRect(page, &frame);
        char where[64];
        int length = snprintf(where, sizeof(where), "%ld %ld %ld %ld\n", frame.left, frame.top,
                              frame.right - frame.left, frame.bottom - frame.top);
        HANDLE file = CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, where, static_cast<DWORD>(length), &written, nullptr);
        CloseHandle(file);
        while (!Exists(done)) {
            Sleep(50);
        }
        PostMessageW(page, WM_CLOSE, 0, 0);
    }).detach();
}

int Usage() {
    fwprintf(stderr, L"usage: info_page.exe --server BASE | --page ADDRESS [--ready FILE --done FILE]\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring server, page, ready, done;
    bool haveServer = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring option = argv[i];
        if (option == L"--server") {
            server = argv[i + 1];
            haveServer = true;
        } else if (option == L"--page") {
            page = argv[i + 1];
        } else if (option == L"--ready") {
            ready = argv[i + 1];
        } else if (option == L"--done") {
            done = argv[i + 1];
        } else {
            return Usage();
        }
    }
    if (argc % 2 == 0 || haveServer == !page.empty() || ready.empty() != done.empty()) {
        return Usage();
    }

    HMODULE library = korv::LoadResourceLibrary();
    if (library == nullptr) {
        fwprintf(stderr, L"info_page: %ls is missing\n", korv::ResourceLibraryPath().c_str());
        return 2;
    }
    fw::SetResourceModule(library);
    WatchForPage(GetCurrentThreadId(), ready, done);

    if (haveServer) {
        korv::InstallSession session;
        session.globalServer = server;
        session.productVersion = L"21.0";
        session.languageCode = L"en_us";
        session.channel = L"0000";
        korv::RunInfoPageStep(session);
    } else {
        korv::UrlParts parts;
        korv::ShowInfoPage(page, korv::SplitUrl(page, parts) && !parts.https);
    }
    wprintf(g_shown ? L"info_page: the information page was shown\n" : L"info_page: the lookup named no page\n");
    return g_shown ? 0 : 1;
}
