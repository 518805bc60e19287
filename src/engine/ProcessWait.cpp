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

bool WaitForProcessEnd(HANDLE process, DWORD timeoutMs) {
    const ULONGLONG deadline = timeoutMs == INFINITE ? 0 : GetTickCount64() + timeoutMs;
    // What is left of the time limit, for the next wait.
    auto remaining = [&]() -> DWORD {
        if (timeoutMs == INFINITE) {
            return INFINITE;
        }
        const ULONGLONG now = GetTickCount64();
        return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    };
    if (!ThreadHasWindows()) {
        return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    }
    // Messages for the thread itself (no window) are not this wait's to
    // handle: they are put back, in their order, once the program has ended.
    std::vector<MSG> threadMessages;
    bool ended = false;
    bool waiting = true;
    while (waiting) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, remaining(), QS_ALLINPUT);
        if (woken == WAIT_TIMEOUT) {
            break;
        }
        if (woken != WAIT_OBJECT_0 + 1) {
            // The program ended (or the wait itself failed: then no message
            // loop can help, and the plain wait says when it ends).
            ended = woken == WAIT_OBJECT_0 || WaitForSingleObject(process, remaining()) == WAIT_OBJECT_0;
            break;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd == nullptr) {
                threadMessages.push_back(message);
                if (message.message == WM_QUIT) {
                    // The thread is asked to end: no more dispatching.
                    ended = WaitForSingleObject(process, remaining()) == WAIT_OBJECT_0;
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
    return ended;
}

}  // namespace korv
