// The worker thread of the copy-progress page: a user-interface thread that
// runs the install job when the page posts it WM_INSTALL_RUN, then idles
// until the page posts WM_QUIT.
//
//   CInstallThread* worker = StartInstallThread(m_hWnd);
//   ... on WM_INSTALL_DONE / WM_INSTALL_FAILED:
//   if (worker) worker->PostThreadMessage(WM_QUIT, 0, 0);   // it deletes itself
#pragma once

#include <windows.h>

#include "framework/WinThread.h"

namespace korv {

class CInstallThread : public fw::CWinThread {
public:
    CInstallThread() = default;

    // Enters the message loop at once: the job comes as a thread message.
    bool InitInstance() override;
    int ExitInstance() override;

    // WM_INSTALL_RUN: wParam 0 (ignored), lParam the page's window. Runs the
    // job to its end; the page learns everything through posted messages.
    void OnInstallRun(WPARAM wParam, LPARAM lParam);

    const fw::MessageMap& GetMessageMap() const override;
};

// Starts a CInstallThread and posts it WM_INSTALL_RUN with page. When the
// thread cannot be started or cannot be told to run, the page is posted
// WM_INSTALL_FAILED instead (as from a job that failed at once) and the
// result is null; otherwise the running thread, which deletes itself after
// the WM_QUIT the page posts it.
CInstallThread* StartInstallThread(HWND page);

}  // namespace korv
