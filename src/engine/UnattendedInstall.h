// The unattended install: the install job's procedure on the UI thread,
// without a page.
#pragma once

namespace korv {

// 1 when every step that can fail succeeded.
int RunUnattendedInstall();

}  // namespace korv
