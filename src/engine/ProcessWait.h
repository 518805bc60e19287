// Waiting for a started program, without a time limit unless asked.
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
//
// True when the program has ended; false when timeoutMs (INFINITE: no
// limit) ran out first. A program that runs longer is left running: ending
// an installer half-way would leave the machine in a worse state than the
// one it is in.
bool WaitForProcessEnd(HANDLE process, DWORD timeoutMs = INFINITE);

// Whether the calling thread has at least one window.
bool ThreadHasWindows();

}  // namespace korv
