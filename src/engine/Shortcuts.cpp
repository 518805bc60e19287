#include "engine/Shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "session/InstallSession.h"
#include "engine/FileOperations.h"
#include "engine/InstallLog.h"
#include "engine/ShellFolders.h"

namespace korv {

namespace {

// COM for the duration of one shortcut, in a single-threaded apartment.
class ComScope {
public:
    ComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (ok_) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_;
};

// Releases an interface pointer when it goes.
template <typename T>
class Released {
public:
    Released() = default;
    ~Released() {
        if (p_ != nullptr) {
            p_->Release();
        }
    }
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

int SaveShortcut(const std::wstring* subfolder, const std::wstring& name, const std::wstring& target,
                 const std::wstring* arguments, int place) {
    ComScope com;
    if (!com.ok()) {
        return 0;
    }
    std::wstring link;
    if (place == kPlaceCommonDesktop) {
        if (!CommonDesktopFolder(link)) {
            return 0;
        }
        link += L"\\";
    } else if (place == kPlaceProductPrograms) {
        if (!CommonProgramsFolder(link)) {
            return 0;
        }
        link += L"\\" + Session().productName + L"\\";
        if (subfolder != nullptr) {
            link += *subfolder + L"\\";
        }
        // A folder that cannot be made shows up as a failed save below.
        CreateFolderTree(link);
    } else {
        return 0;
    }
    link += name + L".lnk";

    Released<IShellLinkW> shortcut;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shortcut.out()))) {
        return 0;
    }
    // The target need not exist yet: the shortcut is made whatever the
    // packages have placed.
    shortcut->SetPath(target.c_str());
    if (arguments != nullptr) {
        shortcut->SetArguments(arguments->c_str());
    }
    shortcut->SetWorkingDirectory(Session().targetFolder.c_str());

    Released<IPersistFile> file;
    if (FAILED(shortcut->QueryInterface(IID_IPersistFile, file.out())) ||
        FAILED(file->Save(link.c_str(), TRUE))) {
        return 0;
    }
    AppendInstallLog(ShortcutLogEntry(link, target));
    return 1;
}

}  // namespace

int CreateShellShortcut(const std::wstring& name, const std::wstring& target, int place) {
    return SaveShortcut(nullptr, name, target, nullptr, place);
}

int CreateShellShortcutWithArguments(const std::wstring& subfolder, const std::wstring& name,
                                     const std::wstring& target, const std::wstring& arguments, int place) {
    return SaveShortcut(&subfolder, name, target, &arguments, place);
}

}  // namespace korv
