// gdiplus.h for this program: it expects the min/max macros of windows.h,
// which NOMINMAX removes, so the std ones stand in inside its namespace.
#pragma once

#include <windows.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>
