// The messages the runners show, built from the texts of the resource
// library.
#pragma once

#include <windows.h>

#include <string>

namespace korv {

// format with its first "%s" replaced by argument and each "%%" read as "%".
// Library texts are never handed to printf: a stray "%d" in a translation
// must not read the stack.
std::wstring FillTextArgument(const std::wstring& format, const std::wstring& argument);

// Text 2005 with the path, the message for a program or package that is not
// where it should be.
std::wstring FileMissingText(const std::wstring& path);

// Shows FileMissingText(path) as a notice owned by owner (may be none).
void ShowFileMissing(const std::wstring& path, HWND owner);

}  // namespace korv
