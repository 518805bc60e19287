#include "session/LocalText.h"

#include <mutex>

#include "framework/SlimLock.h"

namespace korv {

namespace {

fw::SlimLock g_textModuleLock;
HMODULE g_textModule = nullptr;  // stays loaded until process end

HMODULE TextModule() {
    std::lock_guard<fw::SlimLock> lock(g_textModuleLock);
    if (g_textModule == nullptr) {
        g_textModule = LoadResourceLibrary();
    }
    return g_textModule;
}

}  // namespace

std::wstring ResourceLibraryPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return L"IntallerRes.dll";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    path.erase(slash == std::wstring::npos ? 0 : slash + 1);
    return path + L"IntallerRes.dll";
}

HMODULE LoadResourceLibrary() {
    // Mapped as an image of resources only: its code never runs, so a
    // library someone put beside the program (in an installation folder or a
    // copied medium) cannot run a DllMain in this elevated process. Texts,
    // templates and pictures are read from it all the same. Named by its
    // full path.
    return LoadLibraryExW(ResourceLibraryPath().c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

LocalText::LocalText(int textId, const wchar_t* defaultText)
    : defaultText_(defaultText), textId_(textId) {
    buffer_[0] = L'\0';
    TextModule();
}

const wchar_t* LocalText::Get() {
    HMODULE module = TextModule();
    int length = 0;
    if (module != nullptr) {
        // At most 999 characters; LoadStringW terminates right after them
        // and returns 0 for a missing id and for an empty entry alike.
        length = LoadStringW(module, static_cast<UINT>(textId_), buffer_, static_cast<int>(std::size(buffer_)));
    }
    if (length <= 0) {
        if (defaultText_ != nullptr) {
            lstrcpynW(buffer_, defaultText_, static_cast<int>(std::size(buffer_)));
        } else {
            buffer_[0] = L'\0';
        }
    } else {
        buffer_[length] = L'\0';
    }
    return buffer_;
}

std::wstring LoadText(int textId, const wchar_t* defaultText) {
    LocalText text(textId, defaultText);
    return text.Get();
}

std::wstring LoadLongText(int resourceId) {
    HMODULE module = TextModule();
    if (module == nullptr) {
        return {};
    }
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    const DWORD size = found != nullptr ? SizeofResource(module, found) : 0;
    if (bytes == nullptr || size == 0) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(size), nullptr, 0);
    std::wstring decoded(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length <= 0 || MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(size), decoded.data(), length) != length) {
        return {};
    }
    std::wstring text;
    text.reserve(decoded.size() + decoded.size() / 32);
    for (wchar_t c : decoded) {
        if (c == L'\r') {
            continue;
        }
        if (c == L'\n') {
            text += L'\r';
        }
        text += c;
    }
    return text;
}

}  // namespace korv
