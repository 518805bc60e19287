#include "app/HelpText.h"

#include "resource.h"
#include "session/LocalText.h"

namespace korv {

// Both texts are data of the resource library (resources/help/), like every
// other text the program shows, so a localised library brings its own.

std::wstring CommandLineHelp() {
    std::wstring text = LoadLongText(IDR_COMMAND_LINE_HELP);
    if (text.empty()) {
        // Start-up refuses to run without the library; this is for callers
        // that have none, such as a test program on its own.
        text = L"Setup.exe [key=value ...]\r\n";
    }
    return text;
}

std::wstring CommandLineHelpBrief() {
    std::wstring text = LoadLongText(IDR_COMMAND_LINE_HELP_BRIEF);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) {
        text.pop_back();
    }
    return text.empty() ? L"Setup.exe [key=value ...]" : text;
}

}  // namespace korv
