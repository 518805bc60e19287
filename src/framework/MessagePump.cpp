#include "framework/MessagePump.h"

#include "framework/WinThread.h"
#include "framework/Wnd.h"

namespace fw {

bool FilterMessage(MSG& msg) {
    CWinThread* thread = AfxGetThread();
    if (thread != nullptr && thread->PreTranslateMessage(msg)) {
        return true;
    }
    if (msg.hwnd == nullptr) {
        return thread != nullptr && thread->DispatchThreadMessage(msg);
    }
    HWND dialog = nullptr;
    for (HWND hwnd = msg.hwnd; hwnd != nullptr; hwnd = GetParent(hwnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd)) {
            if (wnd->PreTranslateMessage(msg)) {
                return true;
            }
            if (dialog == nullptr && wnd->IsDialogWindow()) {
                dialog = hwnd;
            }
        }
        // Owners are not parents: a dialog's filter sees its own controls,
        // not the windows it owns.
        if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    return dialog != nullptr && IsDialogMessageW(dialog, &msg);
}

void PumpMessage(MSG& msg) {
    if (!FilterMessage(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace fw
