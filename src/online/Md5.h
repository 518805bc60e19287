// MD5 through Windows CNG (bcrypt.dll): the advertisement service signs its
// requests with it. No hash code of our own.
#pragma once

#include <string>

namespace korv {

// 32 lower-case hexadecimal digits of the MD5 digest of text's UTF-8 bytes,
// first byte first; empty when the system cannot hash.
std::wstring Md5Hex(const std::wstring& text);

}  // namespace korv
