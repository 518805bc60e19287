// The information page with real windows under Xvfb and Wine's real web
// browser control: a second thread finds the dialog once it is on screen,
// reads and resizes it and sends it keys; the page requests reach the
// stand-in service, whose journal shows what the browser sent.
//
// This Wine has no HTML engine (Gecko): the browser fetches an HTML page but
// never completes it. Pages of the tests' own document type (TestDocument.h)
// do complete, so the browser's real DocumentComplete event is seen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include <exdisp.h>

#include "framework/DispatchEventSink.h"
#include "framework/Framework.h"
#include "online/AdService.h"
#include "online/InfoImportDlg.h"
#include "online/TestDocument.h"
#include "resource.h"
#include "support/LogCapture.h"
#include "support/Text.h"

using namespace korv;
using korv::test::AdService;
using korv::test::Narrow;
using korv::test::UniqueToken;

namespace {

BOOL CALLBACK NoteInfoPage(HWND window, LPARAM out) {
    if (IsWindowVisible(window) && GetDlgItem(window, IDC_INFO_BROWSER) != nullptr) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

// Waits (ctest's time-out is the limit) for the information page of
// `thread` on screen, then runs `whileOpen` with it on this other thread.
std::thread WhenShown(DWORD thread, std::function<void(HWND)> whileOpen) {
    return std::thread([thread, whileOpen] {
        HWND dialog = nullptr;
        while (dialog == nullptr) {
            Sleep(10);
            EnumThreadWindows(thread, NoteInfoPage, reinterpret_cast<LPARAM>(&dialog));
        }
        whileOpen(dialog);
    });
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientOnScreen(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// Keys as the keyboard queues them, to the window that has the focus.
void PostKey(DWORD thread, UINT key) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(thread, &info);
    PostMessageW(info.hwndFocus, WM_KEYDOWN, key, 1);
    PostMessageW(info.hwndFocus, WM_KEYUP, key, 0xC0000001);
}

// The information page, watched: after the dialog's own handler has seen a
// DocumentComplete event, this one asks the window to close (as a person
// would), so a page that does not close it still ends the test.
class WatchedInfoDlg : public CInfoImportDlg {
public:
    int documentsCompleted = 0;

protected:
    bool OnInitDialog() override {
        bool result = CInfoImportDlg::OnInitDialog();
        fw::ComPtr<IUnknown> browser = Browser().GetControlUnknown();
        fw::ComPtr<IConnectionPointContainer> container;
        if (browser && SUCCEEDED(browser->QueryInterface(IID_IConnectionPointContainer,
                                                         reinterpret_cast<void**>(container.Receive()))) &&
            SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point_.Receive()))) {
            HWND self = GetSafeHwnd();
            sink_.Attach(new fw::DispatchEventSink(DIID_DWebBrowserEvents2, [this, self](DISPID id, DISPPARAMS&) {
                if (id == CExplorer_login::kDocumentComplete) {
                    ++documentsCompleted;
                    ::PostMessageW(self, WM_CLOSE, 0, 0);
                }
            }));
            point_->Advise(static_cast<IDispatch*>(sink_.Get()), &cookie_);
        }
        return result;
    }

public:
    ~WatchedInfoDlg() override {
        if (sink_) {
            sink_->Disconnect();
        }
    }

private:
    fw::ComPtr<IConnectionPoint> point_;
    fw::ComPtr<fw::DispatchEventSink> sink_;
    DWORD cookie_ = 0;
};

}  // namespace

class InfoImportDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library_) << "IntallerRes.dll beside the test program";
        ASSERT_TRUE(ole_.Succeeded());
        ASSERT_TRUE(service.Running()) << "run through ctest, whose fixture starts the stand-in service";
    }

    // An address on the stand-in service: kind "page" (HTML, never
    // completes here) or "testdoc" (completes).
    std::wstring Address(const std::string& token, const char* kind, const std::string& query) const {
        std::string text = "http://127.0.0.1:" + std::to_string(service.Port("http")) + "/" + token + "/" + kind +
                           "/welcome" + query;
        return std::wstring(text.begin(), text.end());
    }

    fw::UniqueModule library_{LoadLibraryExW(L"IntallerRes.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE)};
    HMODULE previous_ = fw::SetResourceModule(library_.Get());
    fw::OleInit ole_;
    test::TestDocumentType documents_;
    AdService service;

    void TearDown() override { fw::SetResourceModule(previous_); }
};

TEST_F(InfoImportDlgTest, OpensAtItsSizeWithTheLibraryTitleAndTheBrowserFillingIt) {
    std::wstring title;
    HICON smallIcon = nullptr, bigIcon = nullptr;
    RECT opened{};
    std::vector<std::string> misfits;
    std::thread watcher = WhenShown(GetCurrentThreadId(), [&](HWND dialog) {
        wchar_t text[128] = {};
        GetWindowTextW(dialog, text, static_cast<int>(std::size(text)));
        title = text;
        smallIcon = reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
        bigIcon = reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
        opened = ScreenRect(dialog);

        HWND host = GetDlgItem(dialog, IDC_INFO_BROWSER);
        // The size it opens with, then sizes a person may drag it to.
        const SIZE sizes[] = {{0, 0}, {900, 760}, {420, 300}, {695, 620}};
        for (const SIZE& size : sizes) {
            if (size.cx != 0) {
                SetWindowPos(dialog, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            RECT client = ClientOnScreen(dialog);
            RECT browser = ScreenRect(host);
            RECT engine = ScreenRect(GetWindow(host, GW_CHILD));  // the browser's own window
            if (!SameRect(browser, client) || !SameRect(engine, client)) {
                misfits.push_back("at " + std::to_string(size.cx) + "x" + std::to_string(size.cy) + ": client " +
                                  Text(client) + ", control " + Text(browser) + ", browser window " + Text(engine));
            }
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    CInfoImportDlg dialog;
    dialog.SetPageAddress(Address(UniqueToken("look"), "page", ""), true);
    dialog.DoModal();
    watcher.join();

    EXPECT_EQ(title, L"Thank you for using Korvanix2024");
    EXPECT_EQ(opened.right - opened.left, CInfoImportDlg::kWidth);
    EXPECT_EQ(opened.bottom - opened.top, CInfoImportDlg::kHeight);
    EXPECT_NE(smallIcon, nullptr);
    EXPECT_EQ(bigIcon, nullptr) << "the icon is set as the small icon only";
    EXPECT_TRUE(misfits.empty()) << misfits.front();
}

TEST_F(InfoImportDlgTest, EnterDoesNothingEscapeAndTheCloseBoxClose) {
    struct Case {
        const char* id;
        std::function<void(DWORD, HWND)> close;
    };
    const Case cases[] = {
        {"Escape", [](DWORD thread, HWND) { PostKey(thread, VK_ESCAPE); }},
        {"close box", [](DWORD, HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Case& c : cases) {
        DWORD thread = GetCurrentThreadId();
        std::thread watcher = WhenShown(thread, [&](HWND dialog) {
            // Enter first: had it closed the window, the result would be IDOK.
            PostKey(thread, VK_RETURN);
            c.close(thread, dialog);
        });
        CInfoImportDlg dialog;
        dialog.SetPageAddress(Address(UniqueToken("keys"), "page", ""), true);
        INT_PTR result = dialog.DoModal();
        watcher.join();
        EXPECT_EQ(result, IDCANCEL) << c.id;
    }
}

TEST_F(InfoImportDlgTest, PageRequestCarriesTheAgentHeaderAndThePageClosesTheWindowWithCloseWindowsYes) {
    ASSERT_TRUE(documents_.Registered());
    struct Case {
        const char* id;
        std::string query;
        INT_PTR result;  // IDOK: the page closed it; IDCANCEL: still open after the page completed
    };
    const Case cases[] = {
        {"marker as the query", "?closeWindows=yes", IDOK},
        {"marker inside a longer query", "?a=1&closeWindows=yes&b=2", IDOK},
        {"marker in another case", "?closeWindows=YES", IDCANCEL},
        {"no marker", "?closeWindows=no", IDCANCEL},
    };
    for (const Case& c : cases) {
        std::string token = UniqueToken("close");
        WatchedInfoDlg dialog;
        dialog.SetPageAddress(Address(token, "testdoc", c.query), true);
        INT_PTR result = dialog.DoModal();
        EXPECT_EQ(result, c.result) << c.id;
        EXPECT_EQ(dialog.documentsCompleted, 1) << c.id;

        auto journal = service.Journal(token);
        ASSERT_EQ(journal.size(), 1u) << c.id;
        EXPECT_EQ(journal[0]["path"], "/" + token + "/testdoc/welcome" + c.query) << c.id;
        // The extra header replaces the browser's own agent and leaves the
        // browser's other headers whole.
        EXPECT_EQ(journal[0]["headers"].value("User-Agent", ""), "Korvanix Zuzude") << c.id;
        EXPECT_EQ(journal[0]["headers"].value("Accept-Encoding", ""), "gzip, deflate") << c.id;
    }
}

TEST_F(InfoImportDlgTest, BrowserGoesToNoRefusedAddress) {
    // Every navigation passes the address rule, the first one too: a plain
    // http address is refused when only https is allowed, and nothing
    // reaches the server; allowed, it is requested.
    for (bool plainHttpAllowed : {false, true}) {
        std::string token = UniqueToken("refuse");
        test::LogCapture log;
        std::thread watcher = WhenShown(GetCurrentThreadId(), [&](HWND dialog) {
            for (int i = 0; i < 150 && service.Journal(token).empty(); ++i) {
                Sleep(10);
            }
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
        CInfoImportDlg dialog;
        const std::wstring address = Address(token, "testdoc", "?never=1");
        dialog.SetPageAddress(address, plainHttpAllowed);
        dialog.DoModal();
        watcher.join();
        EXPECT_EQ(service.Journal(token).size(), plainHttpAllowed ? 1u : 0u) << plainHttpAllowed;
        EXPECT_EQ(log.Has(L"information page: navigation refused: " + address), !plainHttpAllowed);
    }
}

TEST_F(InfoImportDlgTest, ShowInfoPageRunsTheDialogWithOleOfItsOwn) {
    // ShowInfoPage initialises OLE itself; this thread's OLE (from the
    // fixture) only adds a count, which ShowInfoPage gives back.
    std::string token = UniqueToken("show");
    bool shown = false;
    std::thread watcher = WhenShown(GetCurrentThreadId(), [&](HWND dialog) {
        shown = true;
        while (service.Journal(token).empty()) {
            Sleep(20);
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    ShowInfoPage(Address(token, "page", "?x=1"), true);
    watcher.join();
    EXPECT_TRUE(shown);
    auto journal = service.Journal(token);
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0]["path"], "/" + token + "/page/welcome?x=1");
}
