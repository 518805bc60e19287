// one_dialog: the bare platform's time to a first window, the baseline of
// the first-page figure of scripts/bench.sh. It shows one modal dialog from
// a template in its own resources and ends when the dialog is closed (OK,
// Esc or the close box); probe.exe measures from its start until the
// dialog is visible, and uses its idle dialog as the baseline of the
// responsiveness figure.
#include <windows.h>

#include "one_dialog.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ONE_DIALOG), nullptr, DialogProc, 0));
}
