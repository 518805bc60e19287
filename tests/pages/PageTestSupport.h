// Running a real wizard page modally in a test: the page's own class with a
// script that runs once from inside its modal loop, right after it opened,
// and a watcher that acts on windows opened further inside (a page that
// opens another page modally).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/Framework.h"
#include "skin/BackgroundWindows.h"

namespace korv::test {

// Calls `tick` every 20 ms from whatever message loop the test's thread
// runs (modal loops of nested pages included), until the object goes.
class Watcher {
public:
    explicit Watcher(std::function<void()> tick) : tick_(std::move(tick)) {
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Watcher::Proc)));
        SetTimer(window_, 1, 20, nullptr);
    }
    ~Watcher() {
        KillTimer(window_, 1);
        DestroyWindow(window_);
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Watcher*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_TIMER && self != nullptr) {
            self->tick_();
            return 0;
        }
        return CallWindowProcW(self->previous_, window, message, wParam, lParam);
    }

    std::function<void()> tick_;
    HWND window_ = nullptr;
    WNDPROC previous_ = nullptr;
};

// The page class with a script: `opened` runs inside the page's opening
// (after the page's own), `script` once from the page's modal loop when the
// page is on screen (clicks sent from it run their handlers before it goes
// on).
template <class Page>
class Scripted : public Page {
public:
    using Page::Page;
    std::function<void(Scripted&)> opened;
    std::function<void(Scripted&)> script;

    HWND Control(int id) const { return ::GetDlgItem(this->GetSafeHwnd(), id); }
    // What a click on a button sends: the button's own click handling
    // (reflected to its class) and then the page's.
    void Click(int id) { ::SendMessageW(Control(id), BM_CLICK, 0, 0); }
    bool Visible(int id) const { return ::IsWindowVisible(Control(id)) != FALSE; }
    // Still open after what the script did (EndDialog not called).
    bool Open() const { return this->GetSafeHwnd() != nullptr && !this->Ending(); }

protected:
    bool OnInitDialog() override {
        const bool result = Page::OnInitDialog();
        if (opened) {
            opened(*this);
        }
        // The modal loop shows the page once it is idle: the script waits
        // for that, as a person would.
        watcher_ = std::make_unique<Watcher>([this] {
            if (!scriptRan_ && this->GetSafeHwnd() != nullptr && ::IsWindowVisible(this->GetSafeHwnd())) {
                scriptRan_ = true;
                if (script) {
                    script(*this);
                }
            }
        });
        return result;
    }

private:
    std::unique_ptr<Watcher> watcher_;
    bool scriptRan_ = false;
};

// A visible window of this thread that holds control `id`, or null.
inline HWND FindThreadWindowWith(int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            HWND control = GetDlgItem(window, s->id);
            if (IsWindowVisible(window) && control != nullptr && IsWindowVisible(control)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The main background window the pages stand on, as start-up makes it.
class MainBackground {
public:
    MainBackground() { window_.Create(); }
    ~MainBackground() {
        if (window_.GetSafeHwnd() != nullptr) {
            window_.DestroyWindow();
        }
    }
    MainBackground(const MainBackground&) = delete;
    MainBackground& operator=(const MainBackground&) = delete;

    CKvPngMainBKDlg& Window() { return window_; }

    // What the wizard does before it runs a page.
    template <class Page>
    INT_PTR Run(Page& page, bool keepPicture = false) {
        page.SetBackWindow(&window_);
        if (!keepPicture) {
            window_.ShowPng(page.BackgroundImageId());
        }
        return page.DoModal();
    }

private:
    CKvPngMainBKDlg window_;
};

}  // namespace korv::test
