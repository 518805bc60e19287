#include "engine/UninstallWindows.h"

#include <utility>

namespace korv {

namespace {
UninstallWindows g_windows;
}

UninstallWindows SetUninstallWindows(UninstallWindows windows) {
    return std::exchange(g_windows, std::move(windows));
}

const UninstallWindows& CurrentUninstallWindows() {
    return g_windows;
}

}  // namespace korv
