#include "engine/FileOperations.h"

#include <windows.h>

#include "engine/InstallLog.h"

namespace korv {

int CreateFolderTree(const std::wstring& path) {
    const size_t end = path.size() < kFolderPathChars ? path.size() : kFolderPathChars;
    for (size_t i = 0; i < end; ++i) {
        if (path[i] != L'\\' && path[i] != L'/') {
            continue;
        }
        // A drive prefix ("C:") reports as existing; a leading separator
        // gives the empty name, which cannot be created.
        const std::wstring folder = path.substr(0, i);
        if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            return 0;
        }
        AppendInstallLog(FolderCreatedEntry(folder));
        AppendInstallLog(FolderCreatedDoneEntry(folder));
    }
    return 1;
}

int IsFolderEmpty(const std::wstring& path) {
    // The existence test takes the wide name: through the code page, a
    // folder whose name holds a letter outside it would read as missing and
    // so as empty, and the user would not be asked before installing into a
    // folder full of files.
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return 1;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 1;
    }
    int empty = 1;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            empty = 0;
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return empty;
}

namespace {

void ClearReadOnly(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        const DWORD rest = attributes & ~FILE_ATTRIBUTE_READONLY;
        SetFileAttributesW(path.c_str(), rest == 0 ? FILE_ATTRIBUTE_NORMAL : rest);
    }
}

}  // namespace

bool CopyFileWritable(const std::wstring& from, const std::wstring& to) {
    ClearReadOnly(to);
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) {
        return false;
    }
    ClearReadOnly(to);
    return true;
}

bool FileFound(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}

bool WriteIniValueIfPresent(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                            const std::wstring& value) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

namespace {

unsigned long long FolderBytes(const std::wstring& folder, const std::wstring& skipName, int depth) {
    if (depth > 64) {
        return 0;
    }
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    unsigned long long bytes = 0;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A junction or link may lead anywhere, even back up the tree.
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                bytes += FolderBytes(folder + L"\\" + name, L"", depth + 1);
            }
        } else if (skipName.empty() || lstrcmpiW(name.c_str(), skipName.c_str()) != 0) {
            bytes += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return bytes;
}

}  // namespace

unsigned long FolderSizeKiB(const std::wstring& folder, const std::wstring& skipName) {
    const unsigned long long kib = (FolderBytes(folder, skipName, 0) + 1023) / 1024;
    return kib > 0xFFFFFFFFull ? 0xFFFFFFFFul : static_cast<unsigned long>(kib);
}

}  // namespace korv
