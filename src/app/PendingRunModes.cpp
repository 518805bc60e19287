// Interim definitions of the run-mode operations whose subsystems have not
// landed yet. Each one is removed by the work that builds the real one (the
// linker then rejects a leftover): nothing here pretends to have done its
// job, so a run that reaches one ends with the fatal exit code.
#include "app/RunModes.h"

#include "session/ExitCodes.h"

namespace korv {

// Replaced by the online services work (issue #11).
std::wstring GetAdTargetUrl(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&) {
    return {};
}

// Replaced by the online services work (issue #11).
void ShowInfoPage(const std::wstring&) {}

}  // namespace korv
