// The command-line reference that /? and HELP=1 show: every word, its
// values and the exit codes. Plain text: no platform.
#pragma once

#include <string>

namespace korv {

// Lines end in CR LF.
std::wstring CommandLineHelp();

}  // namespace korv
