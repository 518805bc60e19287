// UTF-8 to and from the program's wide texts without the platform's code
// page functions, for the code that also builds on Linux (where wchar_t
// holds whole code points rather than UTF-16 units).
#pragma once

#include <string>

namespace korv {

// A lone surrogate becomes U+FFFD, so the result is always valid UTF-8.
std::string Utf8FromWide(const std::wstring& text);

// Expects valid UTF-8 (the JSON reader hands over nothing else); a broken
// sequence becomes U+FFFD rather than being dropped.
std::wstring WideFromUtf8(const std::string& text);

}  // namespace korv
