// The install job: applying a plan of install steps, the job that the
// copy-progress page runs on its worker thread, and the job's failure
// messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/InstallPlan.h"

namespace korv {

enum class FailureReport {
    kToPage,      // show the job's failure message owned by the page, then post WM_INSTALL_FAILED
    kUnattended,  // the unattended install: the failure notice without an owner
    kSilent,      // the uninstall: its caller tells of a failure
};

// How applying a plan ended.
enum class JobOutcome {
    kDone,
    kFailed,           // a step failed: what the run installed must be taken away again
    kFailedInstalled,  // the configuration program failed after everything was installed: it stays
    kCancelled,        // the person cancelled (Session().cancelRequested) before a step
};

// Applies the steps in order until one fails in a way that ends the
// install, or the person cancels (checked before each step). The page (may
// be none) is the progress window and message owner of the steps that take
// one. Each step's start (with its command line) and end (with its
// duration) go to the diagnostic log. With kToPage a failure's notice is
// owned by the page and WM_INSTALL_FAILED (wParam: the JobEnd) is posted to
// it; an unattended install (kUnattended) shows the same notice without an owner,
// through the message function, so SUPPRESSMSGBOXES answers it.
JobOutcome ApplyInstallPlan(const std::vector<InstallStep>& steps, HWND page, FailureReport report);

// The install job on the worker thread: plans from Session() and applies,
// reporting to the page; exactly one of WM_INSTALL_DONE or WM_INSTALL_FAILED
// is its last message.
void RunInstallJob(HWND page);

// The file name, a blank and text 2033, as a notice owned by owner.
void ReportInstallFailure(const std::wstring& name, HWND owner);
std::wstring InstallFailureText(const std::wstring& name);

// The file name, a comma and text 2017, as a question owned by owner; the
// answer is not used.
void ReportRegisterFailure(const std::wstring& name, HWND owner);
std::wstring RegisterFailureText(const std::wstring& name);

}  // namespace korv
