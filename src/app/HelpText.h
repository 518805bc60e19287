// The command-line reference that /? and HELP=1 show: every word, its
// values and the exit codes, read from the resource library.
#pragma once

#include <string>

namespace korv {

// Lines end in CR LF; at most 80 characters each, for a console.
std::wstring CommandLineHelp();

// The same reference in brief, for a message: every word with its values
// and the exit codes, in lines a tip dialog wraps itself.
std::wstring CommandLineHelpBrief();

}  // namespace korv
