// Reads a saved .lnk back through the shell, and removes the shortcuts a
// test left in the machine's shell folders.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "engine/ShellFolders.h"
#include "support/TempFolder.h"

namespace korv::test {

struct ShortcutContents {
    bool loaded = false;
    std::wstring target;
    std::wstring workingDirectory;
    std::wstring arguments;
};

inline ShortcutContents ReadShortcut(const std::wstring& path) {
    ShortcutContents contents;
    HRESULT init = CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
        wchar_t buffer[1024] = {};
        link->GetPath(buffer, static_cast<int>(std::size(buffer)), nullptr, SLGP_RAWPATH);
        contents.target = buffer;
        buffer[0] = L'\0';
        link->GetWorkingDirectory(buffer, static_cast<int>(std::size(buffer)));
        contents.workingDirectory = buffer;
        buffer[0] = L'\0';
        link->GetArguments(buffer, static_cast<int>(std::size(buffer)));
        contents.arguments = buffer;
        contents.loaded = true;
    }
    if (file) {
        file->Release();
    }
    if (link) {
        link->Release();
    }
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return contents;
}

// The machine's shell folders, looked up once.
struct ShellPlaces {
    std::wstring desktop;
    std::wstring programs;
    ShellPlaces() {
        korv::CommonDesktopFolder(desktop);
        korv::CommonProgramsFolder(programs);
    }
};

// Removes a product's start-menu folder and the named desktop shortcuts now
// (what an earlier, interrupted run left) and again at the end of the test.
class ShortcutCleanup {
public:
    ShortcutCleanup(std::wstring productName, std::vector<std::wstring> desktopNames)
        : productName_(std::move(productName)), desktopNames_(std::move(desktopNames)) {
        Clean();
    }
    ~ShortcutCleanup() { Clean(); }
    ShortcutCleanup(const ShortcutCleanup&) = delete;
    ShortcutCleanup& operator=(const ShortcutCleanup&) = delete;

private:
    void Clean() const {
        ShellPlaces places;
        if (!places.programs.empty() && !productName_.empty()) {
            TempFolder::RemoveTree(places.programs + L"\\" + productName_);
        }
        for (const std::wstring& name : desktopNames_) {
            if (!places.desktop.empty()) {
                DeleteFileW((places.desktop + L"\\" + name + L".lnk").c_str());
            }
        }
    }

    std::wstring productName_;
    std::vector<std::wstring> desktopNames_;
};

}  // namespace korv::test
