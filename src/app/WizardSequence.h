// The wizard's page sequences: each page is a modal dialog over the main
// background window, and its end code decides which page comes next.
#pragma once

#include <windows.h>

#include <functional>

namespace korv {

class CArcBitmapDialog;

// Page end codes.
constexpr INT_PTR kPageDone = 1;
constexpr INT_PTR kPageCancel = 2;
constexpr INT_PTR kPageBack = 1000;
constexpr INT_PTR kPageNext = 1001;
constexpr INT_PTR kPageInstall = 1018;
// What the page runner reports for a finish page whose configuration program
// did not configure the installation (the page itself ended as usual).
constexpr INT_PTR kPageConfigurationFailed = 1603;

enum class WizardPage { kWelcome, kCopyProgress, kFinish, kMaintenance, kFeatures };

// How the pages are run: the real runner makes each page over the main
// background window; tests put end codes in their place. `choice` receives
// the maintenance start page's choice (0 Modify, 1 Repair, 2 Uninstall).
using PageRunner = std::function<INT_PTR(WizardPage page, int& choice)>;

// The real runner: makes the page over the main background window, shows it
// with ShowWizardPage and reads back what the sequence needs (the start
// page's choice; kPageConfigurationFailed for a finish page whose
// configuration program did not configure the installation).
INT_PTR RunWizardPage(WizardPage page, int& choice);

// The install sequence: welcome, copy progress, finish. Leaves showInfoPage
// at 1 only when the finish page was reached. Returns the process exit code:
// 0 when the installation finished, 1602 when the person left the wizard,
// 1603 when the installation failed, a page could not be made, or the
// configuration program did not configure the installed product (it stays
// installed; a Repair configures it).
int RunInstallWizard();
int RunInstallWizard(const PageRunner& runPage);

// The maintenance sequence of an installed copy: from the installed copy's
// own folder straight to the uninstall question; otherwise the maintenance
// start page, then Modify (feature page, copy progress, finish), Repair
// (copy progress, finish) or Uninstall. Returns 0 when the chosen operation
// finished or the uninstall was handed over, 1602 when the person left, 1603
// when it failed. `uninstall` is the uninstall procedure (1 handed over).
int RunMaintenance();
int RunMaintenance(const PageRunner& runPage, const std::function<int()>& uninstall);

// Shows one page: its owner and background window is the main background
// window, which shows the page's picture first (unless keepPicture); runs
// it modally and returns its end code. The page is destroyed after its run.
INT_PTR ShowWizardPage(CArcBitmapDialog& page, bool keepPicture = false);

}  // namespace korv
