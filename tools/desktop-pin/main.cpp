// desktop-pin: keeps the Wine test prefix's default desktop in use.
//
//   desktop-pin.exe READY_FILE
//
// wineserver closes a desktop one second after its last program leaves: it
// unlinks the desktop and tells the desktop process (explorer) to quit. A
// test program that starts in that second joins a desktop that is going
// away; its windows vanish under it, or it fails before its first line.
// Tests start programs one after another all day, so the harness keeps this
// one running: a hidden window on the default desktop makes it a user of
// that desktop until the harness stops the wineserver. READY_FILE is
// written once the window exists, so the harness can wait for it.
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK PinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        return 0;  // only the wineserver's end stops the pin
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PinProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KorvHarnessDesktopPin";
    if (RegisterClassW(&windowClass) == 0) {
        return 1;
    }
    // A top-level window (not a message-only one): that is what counts as a
    // user of the desktop. It is never shown.
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"harness desktop pin", WS_POPUP, 0, 0,
                                  1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    if (argc > 1) {
        if (FILE* ready = _wfopen(argv[1], L"w")) {
            std::fputs("ready\n", ready);
            std::fclose(ready);
        }
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
