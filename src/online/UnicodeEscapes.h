// The reply of the advertisement service carries non-ASCII letters as
// JSON \uXXXX escapes; the HTTP client turns them into the characters they
// stand for before anyone reads the text. No platform headers: the decoder
// is fuzzed on Linux as well.
#pragma once

#include <string>

namespace korv {

// Replaces every backslash, lower-case "u" and four hexadecimal digits by
// the one UTF-16 code unit those digits name. Nothing else changes: "\n",
// "\"", "\\" and a "\u" with fewer than four digits after it stay as they
// are, and a surrogate pair comes out as its two code units.
std::wstring DecodeUnicodeEscapes(const std::wstring& text);

}  // namespace korv
