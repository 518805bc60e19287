// The advertisement lookup against the local stand-in service, over real
// WinInet: the request form as the service receives it, what each kind of
// reply makes of the lookup, HTTPS certificates and redirects, and servers
// that answer too slowly or not at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "online/AdService.h"
#include "online/AdSettings.h"
#include "online/AdSettingsReader.h"
#include "support/Text.h"

using namespace korv;
using korv::test::AdService;
using korv::test::Narrow;
using korv::test::UniqueToken;

namespace {

std::wstring PageOf(const AdService& service, const char* listener, const std::string& token) {
    std::string scheme = std::string(listener) == "https" ? "https" : "http";
    std::string text = scheme + "://127.0.0.1:" + std::to_string(service.Port(listener)) + "/" + token +
                       "/page/welcome.html";
    return std::wstring(text.begin(), text.end());
}

}  // namespace

class AdLookupService : public testing::Test {
protected:
    void SetUp() override {
        if (!service.Running()) {
            FAIL() << "the stand-in service is not running (state folder '" << service.State()
                   << "'): run through ctest, whose fixture starts it";
        }
    }
    AdService service;
};

TEST_F(AdLookupService, ServiceReceivesOneWellFormedSignedRequestPerLookup) {
    struct Case {
        const char* id;
        std::wstring version, language, channel;
        std::string body;  // as the service received it, sign left out
    };
    const Case cases[] = {
        {"example values", L"2024", L"en", L"0000",
         "channelNo=0000&clientType=DF_Korvanix&clientVersion=2024&language=en&ts=*&type=7"},
        {"empty channel: sent empty, left out of the signature", L"2024", L"en", L"",
         "channelNo=&clientType=DF_Korvanix&clientVersion=2024&language=en&ts=*&type=7"},
        {"non-ASCII version travels as UTF-8, form-encoded", L"24.0\u00fc", L"zh_cn", L"0001",
         "channelNo=0001&clientType=DF_Korvanix&clientVersion=24.0%C3%BC&language=zh_cn&ts=*&type=7"},
        {"a channel with the form's own characters stays one value; the service verifies the plain values",
         L"2024", L"en", L"0&type=9 +%",
         "channelNo=0%26type%3D9+%2B%25&clientType=DF_Korvanix&clientVersion=2024&language=en&ts=*&type=7"},
    };
    for (const Case& c : cases) {
        std::string token = UniqueToken("form");
        std::wstring page = GetAdTargetUrl(service.Base("http", token, "success"), c.version, c.language, c.channel);
        EXPECT_EQ(page, PageOf(service, "http", token)) << c.id;

        auto journal = service.Journal(token);
        ASSERT_EQ(journal.size(), 1u) << c.id;
        const auto& request = journal[0];
        EXPECT_EQ(request["method"], "POST") << c.id;
        EXPECT_EQ(request["path"], "/" + token + "/success/api/v3/adSetting") << c.id;
        EXPECT_TRUE(request["problems"].empty()) << c.id << ": " << request["problems"].dump();
        EXPECT_EQ(request["headers"].value("User-Agent", ""),
                  "Korvanix/1.0 (online_service_tests.exe 1.0; Windows NT 6.1)")
            << c.id;

        // Everything but the signature and the clock, byte for byte.
        std::string body = request.value("body", "");
        size_t sign = body.find("&sign=");
        size_t ts = body.find("&ts=");
        size_t type = body.find("&type=");
        ASSERT_TRUE(sign != std::string::npos && ts != std::string::npos && type != std::string::npos) << c.id;
        EXPECT_EQ(body.substr(sign + 6, ts - sign - 6).size(), 32u) << c.id;
        std::string withoutSign = body.substr(0, sign) + body.substr(ts, 4) + "*" + body.substr(type);
        EXPECT_EQ(withoutSign, c.body) << c.id;
    }
}

TEST_F(AdLookupService, EachKindOfReplyDecidesWhetherThereIsAPage) {
    struct Case {
        const char* replyCase;
        bool posted;  // PostSigned's result: the transfer itself succeeded
        bool page;    // the lookup names the page
    };
    const Case cases[] = {
        {"success", true, true},
        {"code-text", true, true},      // "ok" reads as 0
        {"zero-byte", true, true},      // what follows a zero byte in a piece is dropped
        {"refused", true, false},
        {"rs-null", true, false},
        {"rs-empty", true, false},
        {"rs-not-array", true, false},
        {"code-number", true, false},   // a JSON number where a string belongs
        {"tag-boolean", true, false},
        {"icon-number", true, false},
        {"no-target", true, false},
        {"not-json", true, false},
        {"empty-200", true, false},
        {"status-201", false, false},
        {"status-204", false, false},
        {"status-500", false, false},
        {"oversized", false, false},    // larger than any real reply: refused, not collected
    };
    for (const Case& c : cases) {
        std::string token = UniqueToken("reply");
        std::wstring base = service.Base("http", token, c.replyCase);

        std::wstring reply = L"untouched";
        bool posted = PostSigned(base, kAdSettingPath, MakeAdLookupParams(L"2024", L"en", L"0000", MakeTimestamp()),
                                 reply);
        EXPECT_EQ(posted, c.posted) << c.replyCase;
        if (!posted) {
            EXPECT_EQ(reply, L"untouched") << c.replyCase << ": a failed post leaves the caller's text";
        }
        if (std::string(c.replyCase) == "empty-200") {
            EXPECT_EQ(reply, L"") << c.replyCase;
        }

        std::wstring page = GetAdTargetUrl(base, L"2024", L"en", L"0000");
        EXPECT_EQ(page, c.page ? PageOf(service, "http", token) : L"") << c.replyCase << ": " << Narrow(page);
    }
}

TEST_F(AdLookupService, EscapesOfTheReplyArriveAsTheirCharacters) {
    std::string token = UniqueToken("escapes");
    std::wstring reply;
    ASSERT_TRUE(PostSigned(service.Base("http", token, "success"), kAdSettingPath,
                           MakeAdLookupParams(L"2024", L"en", L"0000", MakeTimestamp()), reply));
    EXPECT_EQ(reply.find(L"\\u"), std::wstring::npos) << Narrow(reply);
    std::vector<AdRecord> records;
    ASSERT_TRUE(ParseAdSettings(reply, records, nullptr));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].adName, L"\u6b22\u8fce");
    EXPECT_EQ(records[0].openType, 2);
    ASSERT_EQ(records[0].icons.size(), 1u);
    EXPECT_EQ(records[0].icons[0].height, 12);
}

TEST_F(AdLookupService, UnusableAddressesAndAClosedPortGiveNoPage) {
    const std::wstring closed = L"http://127.0.0.1:" + std::to_wstring(service.Port("closed"));
    for (const std::wstring& base : {std::wstring(), std::wstring(L"127.0.0.1"), std::wstring(L"ftp://127.0.0.1"),
                                     closed}) {
        EXPECT_EQ(GetAdTargetUrl(base, L"2024", L"en", L"0000"), L"") << Narrow(base);
    }
}

// The service reads the request and says nothing for far longer than the
// lookup may take, then answers with a page: a lookup that waited for it
// would show that page.
TEST_F(AdLookupService, ServerThatNeverAnswersIsGivenUpOn) {
    std::string token = UniqueToken("silent");
    EXPECT_EQ(GetAdTargetUrl(service.Base("http", token, "silent"), L"2024", L"en", L"0000"), L"");
    EXPECT_EQ(service.Outcome(token).value("outcome", ""), "client left");
}

// A whole, valid reply sent one byte at a time over about a minute: every
// single read returns quickly, so only the lookup's overall limit ends it.
TEST_F(AdLookupService, ServerThatTricklesItsReplyIsGivenUpOn) {
    std::string token = UniqueToken("trickle");
    EXPECT_EQ(GetAdTargetUrl(service.Base("http", token, "trickle"), L"2024", L"en", L"0000"), L"");
    EXPECT_EQ(service.Outcome(token).value("outcome", ""), "client left");
}

TEST_F(AdLookupService, HttpsNeedsACertificateWindowsTrustsForThisHost) {
    ASSERT_TRUE(service.TrustTestAuthority());
    struct Case {
        const char* id;
        const char* listener;
        bool upperCaseScheme;
        bool page;
    };
    const Case cases[] = {
        {"issued by a trusted authority for 127.0.0.1", "https", false, true},
        {"the same, scheme written in capitals", "https", true, true},
        {"expired", "https_expired", false, false},
        {"issued for another host name", "https_wronghost", false, false},
        {"self-signed", "https_selfsigned", false, false},
    };
    for (const Case& c : cases) {
        std::string token = UniqueToken("tls");
        std::wstring base = service.Base(c.listener, token, "success");
        if (c.upperCaseScheme) {
            base.replace(0, 5, L"HTTPS");
        }
        std::wstring page = GetAdTargetUrl(base, L"2024", L"en", L"0000");
        if (c.page) {
            EXPECT_EQ(page, PageOf(service, "https", token)) << c.id;
            EXPECT_EQ(service.Journal(token).size(), 1u) << c.id;
        } else {
            EXPECT_EQ(page, L"") << c.id;
            EXPECT_TRUE(service.Journal(token).empty()) << c.id << ": no request may pass a refused certificate";
        }
    }
}

TEST_F(AdLookupService, RedirectsAreFollowedExceptFromHttpsDownToHttp) {
    ASSERT_TRUE(service.TrustTestAuthority());
    struct Case {
        const char* id;
        const char* listener;
        const char* replyCase;
        bool page;         // on the https listener, where every redirect points
        bool wholeRequest;  // the redirected request carries the whole signed form
    };
    const Case cases[] = {
        {"https to http: refused", "https", "redirect-to-http", false, false},
        // A secure lookup follows its redirects itself and repeats the request.
        {"https to https: followed", "https", "redirect-to-https", true, true},
        // A plain one leaves them to WinInet, whose repeated POST is empty.
        {"http to https: followed", "http", "redirect-to-https", true, false},
    };
    for (const Case& c : cases) {
        std::string token = UniqueToken("redirect");
        std::wstring page = GetAdTargetUrl(service.Base(c.listener, token, c.replyCase), L"2024", L"en", L"0000");
        EXPECT_EQ(page, c.page ? PageOf(service, "https", token) : L"") << c.id;
        auto journal = service.Journal(token);
        ASSERT_EQ(journal.size(), c.page ? 2u : 1u) << c.id;
        EXPECT_EQ(journal[0]["case"], c.replyCase) << c.id;
        if (c.page) {
            EXPECT_EQ(journal[1]["listener"], "https") << c.id;
        }
        if (c.wholeRequest) {
            EXPECT_TRUE(journal[1]["problems"].empty()) << c.id << ": " << journal[1]["problems"].dump();
        }
    }
}
