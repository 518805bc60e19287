// Shows one tip dialog over the main background window, the way a person
// sees it, for screenshots: take.sh photographs the screen between the
// ready and done files. The ready file holds the screen rectangle to take,
// "left top width height": the main background window's.
//
//   tip_showcase.exe notice|question|retry READY_FILE DONE_FILE
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "framework/Framework.h"
#include "pages/TipDialog.h"
#include "resource.h"
#include "skin/BackgroundWindows.h"
#include "skin/GdiPlus.h"

namespace {

BOOL CALLBACK NoteVisibleTip(HWND window, LPARAM out) {
    if (IsWindowVisible(window) && GetDlgItem(window, IDC_TIP_MESSAGE) != nullptr) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisibleTip(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(thread, NoteVisibleTip, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        fwprintf(stderr, L"usage: tip_showcase.exe notice|question|retry READY_FILE DONE_FILE\n");
        return 2;
    }
    std::wstring mode = argv[1];
    std::wstring ready = argv[2];
    std::wstring done = argv[3];
    if (mode != L"notice" && mode != L"question" && mode != L"retry") {
        fwprintf(stderr, L"tip_showcase: unknown kind \"%ls\" (notice, question or retry)\n", mode.c_str());
        return 2;
    }
    SetProcessDPIAware();
    HMODULE library = LoadLibraryExW(korv::ResourceLibraryPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (library == nullptr) {
        fwprintf(stderr, L"tip_showcase: %ls is missing\n", korv::ResourceLibraryPath().c_str());
        return 3;
    }
    fw::SetResourceModule(library);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);

    korv::CKvPngMainBKDlg main;
    main.Create();
    main.ShowWindow(SW_SHOWNA);
    main.ShowPng(mode == L"retry" ? IDP_SLIDE_1 : IDP_WELCOME_BACKGROUND);
    // Centred at the picture's size, which at a higher DPI differs from the
    // template's.
    main.CenterWindow(GetDesktopWindow());
    RECT shown = main.GetWindowRect();

    korv::TipRequest request;
    request.owner = main.GetSafeHwnd();
    if (mode == L"notice") {
        request.kind = korv::kTipNotice;
        request.text = korv::LoadText(IDS_UNINSTALL_FAILED, L"Failed to uninstall!");
    } else if (mode == L"question") {
        request.kind = korv::kTipQuestion;
        request.text = korv::LoadText(IDS_CONFIRM_UNINSTALL, L"");
    } else {
        request.kind = korv::kTipQuestion;
        request.retryMode = true;
        request.text = korv::LoadText(IDS_PRODUCT_RUNNING, L"");
    }

    DWORD uiThread = GetCurrentThreadId();
    std::thread photographer([=] {
        HWND tip = nullptr;
        while ((tip = FindVisibleTip(uiThread)) == nullptr) {
            Sleep(20);
        }
        // Let every button and text finish painting before the picture.
        RedrawWindow(tip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(500);
        FILE* f = _wfopen(ready.c_str(), L"w");
        if (f != nullptr) {
            fprintf(f, "%ld %ld %ld %ld\n", shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top);
            fclose(f);
        }
        while (!Exists(done)) {
            Sleep(50);
        }
        PostMessageW(tip, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    korv::PresentWithTipDialog(request);
    photographer.join();
    main.DestroyWindow();
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
