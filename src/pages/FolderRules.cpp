#include "pages/FolderRules.h"

namespace korv {

namespace {

constexpr wchar_t kBackslash = L'\\';

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::wstring CollapseBackslashes(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c == kBackslash && !out.empty() && out.back() == kBackslash) {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace

std::wstring CleanFolderText(std::wstring text) {
    // A network folder keeps the two backslashes that make it one: collapsed
    // to one, \\server\share\Korvanix would become a folder on the current
    // drive, not the share the person chose.
    if (text.size() >= 2 && text[0] == kBackslash && text[1] == kBackslash) {
        size_t rest = text.find_first_not_of(kBackslash);
        text = L"\\\\" + CollapseBackslashes(rest == std::wstring::npos ? std::wstring() : text.substr(rest));
    } else {
        text = CollapseBackslashes(text);
    }
    return text;
}

bool HasDotNames(const std::wstring& folder) {
    size_t start = 0;
    for (;;) {
        const size_t end = folder.find(kBackslash, start);
        const std::wstring name = folder.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (name == L"." || name == L"..") {
            return true;
        }
        if (end == std::wstring::npos) {
            return false;
        }
        start = end + 1;
    }
}

bool IsBareName(const std::wstring& path) {
    return path.find_first_of(L":\\") == std::wstring::npos;
}

bool IsRootPath(const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    if (path[0] == kBackslash) {
        if (path.size() == 1) {
            return true;
        }
        if (path[1] == kBackslash) {
            // \\server or \\server\share: at most one separator after the
            // lead-in. A share root with its trailing backslash (which the
            // validation sequence leaves on) is a root all the same, unlike
            // in the shell's own test.
            size_t separators = 0;
            for (size_t i = 2; i < path.size(); ++i) {
                if (path[i] == kBackslash && ++separators > 1 && !(separators == 2 && i + 1 == path.size())) {
                    return false;
                }
            }
            return true;
        }
        return false;
    }
    return path.size() == 3 && path[1] == L':' && path[2] == kBackslash;
}

FolderCheck CheckInstallFolder(const std::wstring& text, FolderResolver resolve) {
    FolderCheck check;
    check.folder = CleanFolderText(text);
    std::wstring& folder = check.folder;

    if (!folder.empty() && folder.back() == kBackslash) {
        size_t last = folder.find_last_not_of(kBackslash);
        folder.resize(last == std::wstring::npos ? 0 : last + 1);
        folder.push_back(kBackslash);
        check.writeBack = true;
    }

    if (IsBareName(folder)) {
        check.verdict = FolderVerdict::kBareName;
        return check;
    }
    if (folder.find(L"\\ ") != std::wstring::npos || folder.find(L" \\") != std::wstring::npos) {
        check.verdict = FolderVerdict::kBlankBesideSeparator;
        return check;
    }
    // Only a folder that names its own root is resolved: a relative one
    // would be resolved against whatever the current folder is, and is
    // refused by the form check below instead.
    const bool rooted = folder[0] == kBackslash || (folder.size() >= 3 && folder[1] == L':' && folder[2] == kBackslash);
    if (resolve != nullptr && rooted && HasDotNames(folder)) {
        std::wstring resolved = resolve(folder);
        if (!resolved.empty() && resolved != folder) {
            folder = CleanFolderText(std::move(resolved));
            check.writeBack = true;
        }
    }
    if (IsRootPath(folder)) {
        check.verdict = FolderVerdict::kRoot;
        return check;
    }
    const size_t colon = folder.find(L':');
    const size_t backslash = folder.find(kBackslash);
    const bool driveForm = colon == 1 && backslash == 2;
    const bool leadingBackslashForm = colon != 1 && backslash == 0;
    if (!driveForm && !leadingBackslashForm) {
        check.verdict = FolderVerdict::kBadForm;
        return check;
    }
    // The name starts after "X:\", after the "\\" of a network path, and
    // right after the one backslash of a folder on the current drive: that
    // one's first letter is checked too, or "\*" would pass as a folder.
    const bool networkForm = leadingBackslashForm && folder.size() > 1 && folder[1] == kBackslash;
    const size_t nameStart = driveForm ? 3 : networkForm ? 2 : 1;
    const std::wstring rest = folder.substr(nameStart);
    if (rest.find_first_of(L"/:*?\"<>|") != std::wstring::npos) {
        check.verdict = FolderVerdict::kBadCharacters;
    }
    return check;
}

std::wstring TrimPathText(const std::wstring& text) {
    size_t end = text.find_last_not_of(L' ');
    std::wstring trimmed = end == std::wstring::npos ? std::wstring() : text.substr(0, end + 1);
    end = trimmed.find_last_not_of(L'.');
    trimmed.resize(end == std::wstring::npos ? 0 : end + 1);
    return trimmed;
}

std::wstring PickedInstallFolder(const std::wstring& picked, const std::wstring& productName) {
    size_t first = picked.find_first_not_of(L' ');
    size_t last = picked.find_last_not_of(L' ');
    std::wstring folder = first == std::wstring::npos ? std::wstring() : picked.substr(first, last - first + 1);
    size_t end = folder.find_last_not_of(L'.');
    folder.resize(end == std::wstring::npos ? 0 : end + 1);
    end = folder.find_last_not_of(kBackslash);
    folder.resize(end == std::wstring::npos ? 0 : end + 1);
    if (!EndsWith(folder, L"2024") && folder != productName) {
        folder += L"\\" + productName;
    }
    return folder;
}

std::wstring DrivePart(const std::wstring& folder) {
    return folder.substr(0, folder.find(kBackslash));
}

std::wstring FreeSpaceProbe(const std::wstring& folder) {
    const std::wstring drive = DrivePart(folder);
    return drive.empty() && !folder.empty() ? std::wstring(1, kBackslash) : drive;
}

std::wstring FormatWithFolder(const std::wstring& format, const std::wstring& folder) {
    std::wstring text = format;
    size_t at = text.find(L"%s");
    if (at != std::wstring::npos) {
        text.replace(at, 2, folder);
    }
    return text;
}

}  // namespace korv
