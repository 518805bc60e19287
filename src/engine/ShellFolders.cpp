#include "engine/ShellFolders.h"

#include <windows.h>
#include <shlobj.h>

namespace korv {

bool ShellFolderPath(int csidl, std::wstring& path) {
    path.clear();
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || allocator == nullptr) {
        return false;
    }
    LPITEMIDLIST items = nullptr;
    bool found = false;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) && items != nullptr) {
        wchar_t buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListW(items, buffer) && buffer[0] != L'\0') {
            path = buffer;
            found = true;
        }
        allocator->Free(items);
    }
    allocator->Release();
    return found;
}

bool CommonDesktopFolder(std::wstring& path) {
    return ShellFolderPath(CSIDL_COMMON_DESKTOPDIRECTORY, path);
}

bool CommonProgramsFolder(std::wstring& path) {
    return ShellFolderPath(CSIDL_COMMON_PROGRAMS, path);
}

bool CommonProgramFilesFolder(std::wstring& path) {
    return ShellFolderPath(CSIDL_PROGRAM_FILES_COMMON, path);
}

}  // namespace korv
