// The free-space check the pages run when a folder is confirmed.
#pragma once

#include <windows.h>

#include <string>

namespace korv {

// Free space on the folder's volume for the calling user: 1 enough (at least
// 500 MiB), 2 too little (notice 2001), 0 the query failed (notice 2002).
// Notices are owned by owner.
int CheckDiskSpace(const std::wstring& folder, HWND owner);

// The decision behind CheckDiskSpace: 0, 1 or 2 as above.
int JudgeFreeSpace(bool queried, unsigned long long freeBytes);

// The threshold: 524,288,000 bytes.
constexpr unsigned long long kRequiredFreeBytes = 500ull * 1024 * 1024;

}  // namespace korv
