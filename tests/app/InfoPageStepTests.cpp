// The information page step at the end of an interactive installation,
// against the stand-in advertisement service: a wizard that reached its
// finish page makes exactly one signed lookup and shows the page it names
// with the client's language and version appended; every other way makes
// no request or shows nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/InfoPageStep.h"
#include "framework/Framework.h"
#include "online/AdService.h"
#include "resource.h"
#include "session/InstallSession.h"
#include "support/LogCapture.h"

using namespace korv;
using korv::test::AdService;
using korv::test::UniqueToken;

namespace {

BOOL CALLBACK NoteInfoPage(HWND window, LPARAM out) {
    if (IsWindowVisible(window) && GetDlgItem(window, IDC_INFO_BROWSER) != nullptr) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

// Watches this thread while the step runs: every information page that
// comes up is counted and closed the way a person closes it, once its
// browser has asked the service for the page of `token` (at once when
// `waitForPage` is false).
class PageWatcher {
public:
    PageWatcher(const AdService& service, std::string token, bool waitForPage)
        : thread_(GetCurrentThreadId()), worker_([this, &service, token, waitForPage] {
              HWND counted = nullptr;
              while (!stop_) {
                  HWND dialog = nullptr;
                  EnumThreadWindows(thread_, NoteInfoPage, reinterpret_cast<LPARAM>(&dialog));
                  if (dialog != nullptr && dialog != counted) {
                      counted = dialog;
                      ++shown_;
                      // Closed once the browser has asked for the page.
                      while (waitForPage && !stop_ && PageRequests(service, token) == 0) {
                          Sleep(20);
                      }
                      PostMessageW(dialog, WM_CLOSE, 0, 0);
                  }
                  Sleep(20);
              }
          }) {}
    ~PageWatcher() {
        stop_ = true;
        worker_.join();
    }
    int Shown() const { return shown_; }

    static size_t PageRequests(const AdService& service, const std::string& token) {
        size_t count = 0;
        for (const auto& entry : service.Journal(token)) {
            count += entry["method"] == "GET" ? 1 : 0;
        }
        return count;
    }

private:
    DWORD thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> shown_{0};
    std::thread worker_;
};

}  // namespace

class InfoPageStep : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library_) << "IntallerRes.dll beside the test program";
        ASSERT_TRUE(service.Running()) << "run through ctest, whose fixture starts the stand-in service";
    }
    void TearDown() override { fw::SetResourceModule(previous_); }

    // The session of an installation whose wizard reached its finish page.
    InstallSession Finished(const std::wstring& server) const {
        InstallSession session;
        session.globalServer = server;
        session.productVersion = L"2024";
        session.languageCode = L"en";
        session.channel = L"0000";
        return session;
    }

    fw::UniqueModule library_{LoadLibraryExW(L"IntallerRes.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE)};
    HMODULE previous_ = fw::SetResourceModule(library_.Get());
    AdService service;
};

TEST_F(InfoPageStep, FinishedWizardMakesOneSignedLookupAndShowsThePageWithLanguageAndVersion) {
    std::string token = UniqueToken("step");
    int shown = 0;
    {
        PageWatcher watcher(service, token, true);
        RunInfoPageStep(Finished(service.Base("http", token, "success")));
        shown = watcher.Shown();
    }
    EXPECT_EQ(shown, 1);

    auto journal = service.Journal(token);
    ASSERT_EQ(journal.size(), 2u) << "one lookup and one page request";
    EXPECT_EQ(journal[0]["method"], "POST");
    EXPECT_TRUE(journal[0]["problems"].empty()) << journal[0]["problems"].dump();
    EXPECT_EQ(journal[1]["method"], "GET");
    // The channel number of the page address carries the language.
    EXPECT_EQ(journal[1]["path"],
              "/" + token + "/page/welcome.html?clientType=DF_Korvanix&channelNo=en&clientVersion=2024");
}

TEST_F(InfoPageStep, NoPageWithoutAFinishedWizardOrWithoutAnAnswer) {
    struct Case {
        const char* id;
        int showInfoPage;
        const char* replyCase;  // null: no service address in Setup.ini
        size_t requests;
    };
    const Case cases[] = {
        {"wizard cancelled or failed before its finish page", 0, "success", 0},
        {"no service address", 1, nullptr, 0},
        {"service refuses", 1, "refused", 1},
        {"service names no page", 1, "rs-empty", 1},
        {"service fails", 1, "status-500", 1},
    };
    for (const Case& c : cases) {
        std::string token = UniqueToken("nostep");
        InstallSession session = Finished(c.replyCase != nullptr ? service.Base("http", token, c.replyCase) : L"");
        session.showInfoPage = c.showInfoPage;
        int shown = 0;
        {
            PageWatcher watcher(service, token, false);
            RunInfoPageStep(session);
            shown = watcher.Shown();
        }
        EXPECT_EQ(shown, 0) << c.id;
        EXPECT_EQ(service.Journal(token).size(), c.requests) << c.id;
    }
}

TEST_F(InfoPageStep, OnlyWebAddressesOfAHostOpenInTheElevatedProcess) {
    struct Case {
        const char* id;
        const char* replyCase;
        int shown;
    };
    const Case cases[] = {
        {"file:// to a host (an SMB logon with the administrator's credentials)", "target-file", 0},
        {"a UNC path", "target-unc", 0},
        {"javascript:", "target-javascript", 0},
        {"ftp://", "target-ftp", 0},
        {"https with user information", "target-userinfo", 0},
        {"a backslash before the host", "target-backslash", 0},
        {"https on the service's host", "target-https", 1},
    };
    for (const Case& c : cases) {
        std::string token = UniqueToken("target");
        test::LogCapture log;
        int shown = 0;
        {
            PageWatcher watcher(service, token, false);
            RunInfoPageStep(Finished(service.Base("http", token, c.replyCase)));
            shown = watcher.Shown();
        }
        EXPECT_EQ(shown, c.shown) << c.id;
        ASSERT_GE(service.Journal(token).size(), 1u) << c.id;
        EXPECT_EQ(service.Journal(token)[0]["method"], "POST") << c.id;
        EXPECT_EQ(log.Starting(L"information page: the address the service named is refused").size(),
                  c.shown == 0 ? 1u : 0u)
            << c.id;
    }
}
