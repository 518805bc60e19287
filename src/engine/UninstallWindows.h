// The windows the uninstall procedure shows or hides while it works: the
// application's main background window (hidden first) and the translucent
// wait window with the uninstall wait page on it. They belong to the skinned
// window toolkit and the pages, which sit above the engine, so start-up
// hands them in here; until it does, the procedure runs without windows.
#pragma once

#include <functional>

namespace korv {

struct UninstallWindows {
    std::function<void()> hideMainWindow;
    std::function<void()> openWaitWindow;   // created without parent and shown
    std::function<void()> closeWaitWindow;  // closed and destroyed
};

// Installs the windows (start-up does this once); returns the previous set.
UninstallWindows SetUninstallWindows(UninstallWindows windows);

// The current set, for the uninstall procedure.
const UninstallWindows& CurrentUninstallWindows();

}  // namespace korv
