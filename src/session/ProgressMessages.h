// Window messages between the install worker, the runners, the tip dialog
// and the copy-progress page. wParam and lParam are 0 unless noted. All are
// posted (WM_INSTALL_RUN as a thread message) except WM_PROGRESS_MOVED, which
// the page's progress bar sends to its parent.
#pragma once

#include <windows.h>

namespace korv {

// Page -> worker thread, once after starting it; lParam: the page's window.
constexpr UINT WM_INSTALL_RUN = WM_USER + 200;

// Worker -> page.
constexpr UINT WM_INSTALL_STARTED = WM_USER + 100;  // first thing the job does
constexpr UINT WM_INSTALL_DONE = WM_USER + 101;     // last thing of a job that did not fail
constexpr UINT WM_INSTALL_FAILED = WM_USER + 102;   // last thing of a failed job, after its message; wParam: JobEnd
constexpr UINT WM_PACKAGE_BEGIN = WM_USER + 103;    // a package run begins
constexpr UINT WM_PACKAGE_END = WM_USER + 104;      // one progress step

// Why a job ended with WM_INSTALL_FAILED (its wParam).
enum JobEnd : WPARAM {
    kJobFailed = 0,           // a step failed: a new installation is rolled back
    kJobCancelled = 1,        // the person cancelled: a new installation is rolled back
    kJobFailedInstalled = 2,  // the configuration program failed after every package was installed: kept
};

// Tip dialog operation -> its owner window, around a message that has one.
constexpr UINT WM_TIP_OPENED = WM_USER + 203;
constexpr UINT WM_TIP_CLOSED = WM_USER + 204;

// Progress bar -> its parent page (sent): the position changed.
constexpr UINT WM_PROGRESS_MOVED = WM_USER + 300;

}  // namespace korv
