// Waiting for a started program without a time limit.
#pragma once

#include <windows.h>

namespace korv {

// Returns when `process` has ended. On a thread that has windows (start-up's
// thread: the main background window, the uninstall wait window) the
// thread's messages are dispatched meanwhile, so its windows keep painting
// and answering; a program that sends a message to every top-level window
// (as installers do when they change the environment) is answered instead
// of waiting on this thread forever. A thread without windows (the install
// worker) just waits: its thread messages stay queued for its own loop.
void WaitForProcessEnd(HANDLE process);

// Whether the calling thread has at least one window.
bool ThreadHasWindows();

}  // namespace korv
