// How the values of Setup.ini and the registry are tidied before use. Plain
// text in, plain text out: no platform, so these also build for the fuzzers.
#pragma once

#include <string>

namespace korv {

// Trims white space (blank, tab, CR, LF, vertical tab, form feed) at both ends.
std::wstring TrimSpace(const std::wstring& text);

// Trims white space at both ends and removes all trailing backslashes.
std::wstring CleanFolderValue(const std::wstring& value);

// Windows language identifier for a lower-cased [RES] LANGUAGE value.
std::wstring LanguageIdFor(const std::wstring& languageCode);

// RGB value (red | green << 8 | blue << 16) from the three colour keys, each
// taken from its low 8 bits.
unsigned long PackTextColour(int red, int green, int blue);

}  // namespace korv
