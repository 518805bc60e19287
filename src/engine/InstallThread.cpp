#include "engine/InstallThread.h"

#include "engine/InstallJob.h"
#include "session/ProgressMessages.h"
#include "framework/MessageEntries.h"

namespace korv {

bool CInstallThread::InitInstance() {
    return true;
}

int CInstallThread::ExitInstance() {
    return fw::CWinThread::ExitInstance();
}

void CInstallThread::OnInstallRun(WPARAM, LPARAM lParam) {
    RunInstallJob(reinterpret_cast<HWND>(lParam));
}

const fw::MessageMap& CInstallThread::GetMessageMap() const {
    static const fw::MessageMap map(fw::CWinThread::GetMessageMap(), {
        fw::on::ThreadMessage(WM_INSTALL_RUN, &CInstallThread::OnInstallRun),
    });
    return map;
}

CInstallThread* StartInstallThread(HWND page) {
    CInstallThread* worker = fw::BeginThread<CInstallThread>();
    if (worker != nullptr &&
        worker->PostThreadMessage(WM_INSTALL_RUN, 0, reinterpret_cast<LPARAM>(page))) {
        return worker;
    }
    // The job never starts, so the page must hear of it: it takes its
    // failure path as for a job that failed at once (no installation
    // happened, so there is nothing for the rollback to find).
    if (worker != nullptr) {
        worker->PostThreadMessage(WM_QUIT, 0, 0);
    }
    PostMessageW(page, WM_INSTALL_FAILED, 0, 0);
    return nullptr;
}

}  // namespace korv
