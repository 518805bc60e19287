// The module that dialog templates, icons, bitmaps and pictures come from.
// It starts as the program itself; start-up switches it to the resource
// library and switches it back at exit.
#pragma once

#include <windows.h>

namespace fw {

HMODULE GetResourceModule();

// Makes module current and returns the one it replaces. Null goes back to
// the program's own module.
HMODULE SetResourceModule(HMODULE module);

}  // namespace fw
