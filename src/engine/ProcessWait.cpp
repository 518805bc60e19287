#include "engine/ProcessWait.h"

#include <vector>

namespace korv {

namespace {

BOOL CALLBACK NoteWindow(HWND, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

}  // namespace

bool ThreadHasWindows() {
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), NoteWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void WaitForProcessEnd(HANDLE process) {
    if (!ThreadHasWindows()) {
        WaitForSingleObject(process, INFINITE);
        return;
    }
    // Messages for the thread itself (no window) are not this wait's to
    // handle: they are put back, in their order, once the program has ended.
    std::vector<MSG> threadMessages;
    bool waiting = true;
    while (waiting) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) {
            // The program ended (or the wait itself failed: then no message
            // loop can help, and the plain wait says when it ends).
            if (woken != WAIT_OBJECT_0) {
                WaitForSingleObject(process, INFINITE);
            }
            break;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd == nullptr) {
                threadMessages.push_back(message);
                if (message.message == WM_QUIT) {
                    // The thread is asked to end: no more dispatching.
                    WaitForSingleObject(process, INFINITE);
                    waiting = false;
                    break;
                }
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    for (const MSG& message : threadMessages) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
        } else {
            PostThreadMessageW(GetCurrentThreadId(), message.message, message.wParam, message.lParam);
        }
    }
}

}  // namespace korv
