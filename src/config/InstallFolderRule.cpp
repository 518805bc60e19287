#include "config/InstallFolderRule.h"

namespace korv {

namespace {

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsForbiddenInName(wchar_t c) {
    if (c < 0x20) {
        return true;
    }
    for (const wchar_t* p = L"/:*?\"<>|"; *p != L'\0'; ++p) {
        if (c == *p) {
            return true;
        }
    }
    return false;
}

bool IsKeptName(const std::wstring& name) {
    if (name.empty() || name.back() == L' ' || name.back() == L'.') {
        return false;
    }
    for (wchar_t c : name) {
        if (IsForbiddenInName(c)) {
            return false;
        }
    }
    return true;
}

// Counts the names of path (separated by single backslashes); -1 when one
// of them is not a name Windows keeps.
int CountKeptNames(const std::wstring& path) {
    int count = 0;
    size_t start = 0;
    for (;;) {
        size_t end = path.find(L'\\', start);
        if (!IsKeptName(path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start))) {
            return -1;
        }
        ++count;
        if (end == std::wstring::npos) {
            return count;
        }
        start = end + 1;
    }
}

// Where the part below the root begins: after "X:\" or after
// "\\server\share\"; npos when the folder has neither form.
size_t BelowRoot(const std::wstring& folder) {
    if (folder.size() >= 3 && IsAsciiLetter(folder[0]) && folder[1] == L':' && folder[2] == L'\\') {
        return 3;
    }
    if (folder.size() >= 2 && folder[0] == L'\\' && folder[1] == L'\\') {
        size_t server = folder.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2) {
            return std::wstring::npos;
        }
        size_t share = folder.find(L'\\', server + 1);
        if (share == std::wstring::npos || share == server + 1) {
            return std::wstring::npos;
        }
        return share + 1;
    }
    return std::wstring::npos;
}

}  // namespace

bool IsFolderBelowRoot(const std::wstring& folder) {
    size_t below = BelowRoot(folder);
    if (below == std::wstring::npos || folder.find_first_not_of(L"\\ .", below) == std::wstring::npos) {
        return false;
    }
    // The folder goes quoted into command lines (TARGETDIR="..."): a quote
    // or a control character would end its field and start words of its own.
    for (wchar_t c : folder) {
        if (c == L'"' || c < 0x20) {
            return false;
        }
    }
    return true;
}

bool IsAcceptedInstallFolder(const std::wstring& folder) {
    if (folder.empty() || folder.size() > kMaxInstallFolderChars) {
        return false;
    }
    // X:\ and at least one name below the root.
    if (folder.size() > 3 && IsAsciiLetter(folder[0]) && folder[1] == L':' && folder[2] == L'\\') {
        return CountKeptNames(folder.substr(3)) >= 1;
    }
    // \\server\share and at least one name below the share, which is the root.
    if (folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\') {
        return CountKeptNames(folder.substr(2)) >= 3;
    }
    return false;
}

}  // namespace korv
