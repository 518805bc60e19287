// The last step of an interactive installation: when the wizard went all
// the way to its finish page (showInfoPage still 1), ask the advertisement
// service which page to show and show it in the information page. Nothing
// of a failed lookup reaches the user, and the run's exit code does not
// depend on it.
#pragma once

#include "session/InstallSession.h"

namespace korv {

void RunInfoPageStep(const InstallSession& session);

}  // namespace korv
