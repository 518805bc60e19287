// Shared pieces of the framework tests: the test resource library as the
// current resource module, and a dialog that runs a script of steps once it
// is on screen.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "TestResource.h"
#include "framework/Framework.h"

namespace fwtest {

inline std::wstring BesideProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

// Makes framework_test_res.dll the resource module for the object's lifetime.
class TestResources {
public:
    TestResources() : module_(LoadLibraryW(BesideProgram(L"framework_test_res.dll").c_str())) {
        previous_ = fw::SetResourceModule(module_.Get());
    }
    ~TestResources() { fw::SetResourceModule(previous_); }
    bool Loaded() const { return static_cast<bool>(module_); }

private:
    fw::UniqueModule module_;
    HMODULE previous_ = nullptr;
};

constexpr UINT WM_APP_STEP = WM_APP + 100;

// A dialog of template IDD_TEST that runs its steps one per posted message,
// starting once it is shown; a step's own posted messages are handled
// before the next step. Events go to a shared list for the test to compare.
class ScriptedDialog : public fw::CDialog {
public:
    using Step = std::function<void(ScriptedDialog&)>;

    explicit ScriptedDialog(std::vector<Step> steps, HWND parent = nullptr)
        : CDialog(IDD_TEST, parent), steps_(std::move(steps)) {}

    std::vector<std::string> events;
    bool shown = false;
    HWND ownerAtInit = nullptr;
    bool ownerEnabledAtInit = true;

    const fw::MessageMap& GetMessageMap() const override {
        static const fw::MessageMap map(CDialog::GetMessageMap(), {
            fw::on::ShowWindow(&ScriptedDialog::OnShowWindow),
            fw::on::Message(WM_APP_STEP, &ScriptedDialog::OnStep),
        });
        return map;
    }

protected:
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        ownerAtInit = GetOwner();
        ownerEnabledAtInit = ownerAtInit == nullptr || ::IsWindowEnabled(ownerAtInit);
        return true;
    }

private:
    void OnShowWindow(bool show, UINT) {
        if (show && !shown) {
            shown = true;
            PostMessage(WM_APP_STEP);
        }
        Default();
    }
    LRESULT OnStep(WPARAM, LPARAM) {
        if (next_ < steps_.size()) {
            Step step = steps_[next_++];
            step(*this);
            PostMessage(WM_APP_STEP);
        }
        return 0;
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
};

// Posts a key press (WM_KEYDOWN) to a window, as the keyboard would queue it.
inline void PostKey(HWND target, UINT key) { PostMessageW(target, WM_KEYDOWN, key, 1); }

}  // namespace fwtest
