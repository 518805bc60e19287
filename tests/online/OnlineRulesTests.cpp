// The decisions of the online services as tables, without a network: escape
// decoding, URL rules, the request form and its signature, and the reading
// of the service's reply.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "online/AdRequest.h"
#include "online/AdSettings.h"
#include "online/AdSettingsReader.h"
#include "online/HttpRequestRules.h"
#include "online/Md5.h"
#include "online/UnicodeEscapes.h"
#include "session/Utf8Text.h"
#include "support/Text.h"

using namespace korv;
using korv::test::Narrow;

TEST(UnicodeEscapes, DecodesExactlyBackslashLowerUAndFourHexDigits) {
    struct Case {
        const wchar_t* in;
        std::wstring out;
    };
    const Case cases[] = {
        {L"\\u6b22\\u8fce", L"\u6b22\u8fce"},                 // two Chinese characters
        {L"x\\u0041y", L"xAy"},
        {L"\\u00e9\\u00C9", L"\u00e9\u00c9"},                 // digits in either case
        {L"\\ud83d\\ude00", std::wstring{wchar_t(0xd83d), wchar_t(0xde00)}},  // a pair stays two units
        {L"\\u0041", L"A"},                                   // an escape that ends the text
        {L"ab\\u00", L"ab\\u00"},                             // two digits at the end
        {L"\\u004", L"\\u004"},                               // three digits at the end
        {L"\\u12G4z", L"\\u12G4z"},                           // a G among the four
        {L"\\U0041", L"\\U0041"},                             // capital U
        {L"\\\\u0041", L"\\A"},                               // escaped backslash, then u0041
        {L"\\n\\\"\\\\", L"\\n\\\"\\\\"},                     // other escapes stay
        {L"\\u005cu0041", L"\\u0041"},                       // a decoded backslash starts nothing
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeUnicodeEscapes(c.in), c.out) << Narrow(c.in);
    }
}

TEST(HttpRequestRules, SplitsHttpAndHttpsUrlsAndRefusesTheRest) {
    struct Case {
        const wchar_t* url;
        bool ok;
        bool https;
        const wchar_t* host;
        int port;
        const wchar_t* object;
    };
    const Case cases[] = {
        {L"http://ads.example/api/v3/adSetting", true, false, L"ads.example", 80, L"/api/v3/adSetting"},
        {L"https://ads.example/api/v3/adSetting", true, true, L"ads.example", 443, L"/api/v3/adSetting"},
        {L"HTTPS://ads.example:8443/a?b=1#frag", true, true, L"ads.example", 8443, L"/a?b=1"},
        {L"http://127.0.0.1:8080", true, false, L"127.0.0.1", 8080, L"/"},
        {L"http://host?x=1", true, false, L"host", 80, L"/?x=1"},
        {L"http://user:pw@host/p", true, false, L"host", 80, L"/p"},
        {L"http://[::1]:81/p", true, false, L"::1", 81, L"/p"},
        {L"", false, false, L"", 0, L""},
        {L"ads.example/api", false, false, L"", 0, L""},
        {L"ftp://ads.example/x", false, false, L"", 0, L""},
        {L"http:///x", false, false, L"", 0, L""},
        {L"http://host:0/x", false, false, L"", 0, L""},
        {L"http://host:65536/x", false, false, L"", 0, L""},
        {L"http://host:8o/x", false, false, L"", 0, L""},
        {L"http://host/a b", false, false, L"", 0, L""},
        {L"http://host/a\r\nX-Injected: 1", false, false, L"", 0, L""},
        {L"http://[::1/x", false, false, L"", 0, L""},
    };
    for (const Case& c : cases) {
        UrlParts parts;
        ASSERT_EQ(SplitUrl(c.url, parts), c.ok) << Narrow(c.url);
        if (c.ok) {
            EXPECT_EQ(parts.https, c.https) << Narrow(c.url);
            EXPECT_EQ(parts.host, c.host) << Narrow(c.url);
            EXPECT_EQ(parts.port, c.port) << Narrow(c.url);
            EXPECT_EQ(parts.object, c.object) << Narrow(c.url);
        }
    }
}

TEST(HttpRequestRules, PageAddressesAreWebAddressesOfAHost) {
    struct Case {
        const char* id;
        const wchar_t* url;
        bool plainHttpAllowed;
        bool accepted;
    };
    const Case cases[] = {
        {"https", L"https://ads.example.com/p/1.html?x=1", false, true},
        {"https in capitals, port, IPv6", L"HTTPS://[::1]:8443/p", false, true},
        {"plain http from a plain service", L"http://127.0.0.1:8080/p", true, true},
        {"plain http from a secure service", L"http://ads.example.com/p", false, false},
        {"file to a host", L"file://host/share/x.html", true, false},
        {"UNC path", L"\\\\host\\share\\x.html", true, false},
        {"javascript", L"javascript:alert(1)", true, false},
        {"res", L"res://ieframe.dll/x.htm", true, false},
        {"ftp", L"ftp://host/x.html", true, false},
        {"about", L"about:blank", true, false},
        {"user information", L"https://user:pw@host/x", true, false},
        {"user information behind a backslash", L"https://good.example\\@evil.example/x", true, false},
        {"backslash as the path", L"https://evil.example\\x", true, false},
        {"escaped host", L"https://ev%69l.example/x", true, false},
        {"no host", L"https:///x", true, false},
        {"blank in the address", L"https://host/a b", true, false},
        {"host with an underscore", L"https://a_b.example/x", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAcceptedPageAddress(c.url, c.plainHttpAllowed), c.accepted) << c.id;
    }
}

TEST(HttpRequestRules, SecureRequestsKeepEveryCertificateCheck) {
    EXPECT_TRUE(IsSecureUrl(L"https://a"));
    EXPECT_TRUE(IsSecureUrl(L"HTTPS://a"));
    EXPECT_FALSE(IsSecureUrl(L"http://a"));
    EXPECT_FALSE(IsSecureUrl(L" https://a"));
    // INTERNET_FLAG_EXISTING_CONNECT | SECURE; no IGNORE_CERT_* (0x1000,
    // 0x2000) and no IGNORE_REDIRECT_TO_HTTP (0x8000).
    EXPECT_EQ(RequestFlags(true), 0x20800000u);
    // INTERNET_FLAG_EXISTING_CONNECT | IGNORE_REDIRECT_TO_HTTPS.
    EXPECT_EQ(RequestFlags(false), 0x20004000u);
}

TEST(HttpRequestRules, UserAgentNamesTheProgramFileAndAlwaysWindows61) {
    EXPECT_EQ(UserAgentFor(L"C:\\Medium\\Setup.exe"), L"Korvanix/1.0 (Setup.exe 1.0; Windows NT 6.1)");
    EXPECT_EQ(UserAgentFor(L"D:/x/y/setup64.EXE"), L"Korvanix/1.0 (setup64.EXE 1.0; Windows NT 6.1)");
    EXPECT_EQ(UserAgentFor(L"Setup.exe"), L"Korvanix/1.0 ( 1.0; Windows NT 6.1)");
}

TEST(AdRequest, SignatureTextAndBodyFollowTheServiceForm) {
    const std::wstring ts = L"1700000000000";
    struct Case {
        const char* id;
        AdParams params;
        std::wstring signatureText;
        std::wstring body;
        std::wstring signature;  // independently computed MD5, upper case
    };
    AdParams withToken = MakeAdLookupParams(L"2024", L"en", L"0000", ts);
    withToken[L"utoken"] = L"abc";
    const Case cases[] = {
        {"the example", MakeAdLookupParams(L"2024", L"en", L"0000", ts),
         L"/api/v3/adSetting?channelNo=0000&clientType=DF_Korvanix&clientVersion=2024&language=en&ts=1700000000000"
         L"&type=7&key=0000",
         L"channelNo=0000&clientType=DF_Korvanix&clientVersion=2024&language=en&ts=1700000000000&type=7",
         L"D844A09C74A8F395EF16ACF951D1D258"},
        {"empty channel: left out of the signature, key from clientType, still in the body",
         MakeAdLookupParams(L"2024", L"en", L"", ts),
         L"/api/v3/adSetting?clientType=DF_Korvanix&clientVersion=2024&language=en&ts=1700000000000&type=7"
         L"&key=DF_Korvanix",
         L"channelNo=&clientType=DF_Korvanix&clientVersion=2024&language=en&ts=1700000000000&type=7",
         L"4C7A73C524FD45E4ADF514D6E67F9A9D"},
        {"a utoken gives the key", withToken,
         L"/api/v3/adSetting?channelNo=0000&clientType=DF_Korvanix&clientVersion=2024&language=en&ts=1700000000000"
         L"&type=7&utoken=abc&key=abc",
         L"channelNo=0000&clientType=DF_Korvanix&clientVersion=2024&language=en&ts=1700000000000&type=7&utoken=abc",
         L"AACB6D69B5BB9071070BDC875F620D37"},
        {"a channel with the form's own characters: encoded in the body, signed plain",
         MakeAdLookupParams(L"2024", L"en", L"0&type=9 +%\u00fc", ts),
         L"/api/v3/adSetting?channelNo=0&type=9 +%\u00fc&clientType=DF_Korvanix&clientVersion=2024&language=en"
         L"&ts=1700000000000&type=7&key=0&type=9 +%\u00fc",
         L"channelNo=0%26type%3D9+%2B%25%C3%BC&clientType=DF_Korvanix&clientVersion=2024&language=en"
         L"&ts=1700000000000&type=7",
         L"937F63DD64090A3FA4331A9686349EEE"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SignatureText(kAdSettingPath, c.params), c.signatureText) << c.id;
        EXPECT_EQ(FormBody(c.params), c.body) << c.id;
        EXPECT_EQ(MakeSignature(kAdSettingPath, c.params), c.signature) << c.id;
    }

    // Edge forms: a sign entry is never signed; nothing to sign gives no key;
    // empty values stay in the body.
    EXPECT_EQ(SignatureText(L"/p", AdParams{{L"sign", L"X"}, {L"a", L""}}), L"/p?");
    EXPECT_EQ(SignatureText(L"/p", AdParams{{L"utoken", L""}}), L"/p?key=");
    EXPECT_EQ(FormBody(AdParams{{L"a", L""}, {L"b", L"x&&"}}), L"a=&b=x%26%26");
    EXPECT_EQ(FormEncoded(L"Az09*-._ ~/\"'<>"), L"Az09*-._+%7E%2F%22%27%3C%3E");
    EXPECT_EQ(FormBody(AdParams{}), L"");
}

TEST(AdRequest, TimestampsAreMillisecondsOfWholeSeconds) {
    EXPECT_EQ(TimestampText(0), L"0");
    EXPECT_EQ(TimestampText(1700000000), L"1700000000000");
    EXPECT_EQ(TimestampText(1700000001), L"1700000001000");

    std::wstring now = MakeTimestamp();
    ASSERT_GE(now.size(), 13u);
    EXPECT_EQ(now.substr(now.size() - 3), L"000");
    // One second apart: another ts, and so another signature.
    AdParams first = MakeAdLookupParams(L"2024", L"en", L"0000", TimestampText(1700000000));
    AdParams second = MakeAdLookupParams(L"2024", L"en", L"0000", TimestampText(1700000001));
    EXPECT_NE(MakeSignature(kAdSettingPath, first), MakeSignature(kAdSettingPath, second));
}

TEST(AdRequest, Md5OfTheUtf8Bytes) {
    EXPECT_EQ(Md5Hex(L""), L"d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex(L"\u00fc"), L"c03410a5204b21cd8229ff754688d743");
}

TEST(AdSettingsReader, RepliesAndWhatIsReadFromThem) {
    struct Case {
        const char* id;
        const wchar_t* reply;
        bool ok;
        size_t records;
        int errorCode;  // when not ok
    };
    const Case cases[] = {
        {"success", LR"({"code":"0","msg":"","rs":[{"targetUrl":"http://p/1"},{"targetUrl":"http://p/2"}]})", true, 2, 0},
        {"code with text after its digits", LR"({"code":"0ok","rs":[{}]})", true, 1, 0},
        {"code without digits reads as 0", LR"({"code":"ok","rs":[{}]})", true, 1, 0},
        {"code with leading spaces and a sign", LR"({"code":"  -0","rs":[]})", true, 0, 0},
        {"rs null", LR"({"code":"0","rs":null})", true, 0, 0},
        {"rs missing", LR"({"code":"0"})", true, 0, 0},
        {"rs not an array", LR"({"code":"0","rs":{"targetUrl":"x"}})", true, 0, 0},
        {"rs empty", LR"({"code":"0","rs":[]})", true, 0, 0},
        {"an element null reads as an empty ad", LR"({"code":"0","rs":[null]})", true, 1, 0},
        {"refused", LR"({"code":"1001","msg":"unknown channel"})", false, 0, 1001},
        {"a huge code saturates instead of wrapping to 0", LR"({"code":"4294967296","msg":""})", false, 0, INT_MAX},
        {"code as a number", LR"({"code":0,"rs":[]})", false, 0, -1},
        {"code missing", LR"({"rs":[]})", false, 0, -1},
        {"not JSON", L"<html>", false, 0, -1},
        {"top level is an array", LR"([{"code":"0"}])", false, 0, -1},
        {"isTagAdd boolean", LR"({"code":"0","rs":[{"isTagAdd":true}]})", false, 0, -1},
        {"openType text", LR"({"code":"0","rs":[{"openType":"1"}]})", false, 0, -1},
        {"targetUrl number", LR"({"code":"0","rs":[{"targetUrl":1}]})", false, 0, -1},
        {"icon height a number", LR"({"code":"0","rs":[{"icons":[{"height":12}]}]})", false, 0, -1},
        {"icon element a number", LR"({"code":"0","rs":[{"icons":[3]}]})", false, 0, -1},
        {"element a number, after a good one", LR"({"code":"0","rs":[{"adId":"1"},7]})", false, 1, -1},
        {"refusal whose msg is not text", LR"({"code":"5","msg":5})", false, 0, -1},
    };
    for (const Case& c : cases) {
        std::vector<AdRecord> records;
        AdLookupError error;
        EXPECT_EQ(ParseAdSettings(c.reply, records, &error), c.ok) << c.id;
        EXPECT_EQ(records.size(), c.records) << c.id;
        if (!c.ok) {
            EXPECT_EQ(error.code, c.errorCode) << c.id;
            if (c.errorCode == -1) {
                EXPECT_EQ(error.msg, L"error formatting") << c.id;
            }
        }
        // The reader works without an error record too.
        std::vector<AdRecord> again;
        EXPECT_EQ(ParseAdSettings(c.reply, again, nullptr), c.ok) << c.id;
    }
}

TEST(AdSettingsReader, ReadsEveryMemberOfAnAdAndItsIcons) {
    std::vector<AdRecord> records;
    AdLookupError error;
    ASSERT_TRUE(ParseAdSettings(
        LR"({"code":"0","msg":"","rs":[{"adId":"17","adName":"欢迎","adUrl":"u","targetUrl":"http://p/?a=1",)"
        LR"("isTagAdd":0,"openType":2.9,"icons":[{"height":"12px","width":" 300","imgUrl":"i"},null]},{}]})",
        records, &error));
    ASSERT_EQ(records.size(), 2u);
    const AdRecord& ad = records[0];
    EXPECT_EQ(ad.adId, L"17");
    EXPECT_EQ(ad.adName, L"\u6b22\u8fce");
    EXPECT_EQ(ad.adUrl, L"u");
    EXPECT_EQ(ad.targetUrl, L"http://p/?a=1");
    EXPECT_EQ(ad.isTagAdd, 0);
    EXPECT_EQ(ad.openType, 2);
    ASSERT_EQ(ad.icons.size(), 2u);
    EXPECT_EQ(ad.icons[0].height, 12);
    EXPECT_EQ(ad.icons[0].width, 300);
    EXPECT_EQ(ad.icons[0].imgUrl, L"i");
    EXPECT_EQ(ad.icons[1].height, 0);
    // Defaults of an ad without members.
    EXPECT_EQ(records[1].isTagAdd, 1);
    EXPECT_EQ(records[1].openType, 1);
    EXPECT_TRUE(records[1].targetUrl.empty());
    EXPECT_TRUE(records[1].icons.empty());
}

TEST(AdSettingsReader, DecimalValueIsTheCLibraryConversion) {
    struct Case {
        const wchar_t* text;
        int value;
    };
    const Case cases[] = {
        {L"0", 0},          {L"12px", 12},      {L"  42", 42},   {L"\t-7x", -7}, {L"+5", 5},
        {L"", 0},           {L"px", 0},         {L"- 1", 0},     {L"2147483647", INT_MAX},
        {L"2147483648", INT_MAX},               {L"-2147483648", INT_MIN},       {L"-99999999999999", INT_MIN},
        {L"99999999999999999999999", INT_MAX},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecimalValue(c.text), c.value) << Narrow(c.text);
    }
}

TEST(Utf8Text, RoundTripsAndReplacesWhatIsNotText) {
    const std::wstring text = L"a\u00fc\u6b22\U0001F600";
    EXPECT_EQ(WideFromUtf8(Utf8FromWide(text)), text);
    EXPECT_EQ(Utf8FromWide(std::wstring{L'a', wchar_t(0xd800), L'b'}), "a\xef\xbf\xbd" "b");  // lone surrogate
    EXPECT_EQ(WideFromUtf8("a\xc3"), L"a\ufffd");             // cut sequence
    EXPECT_EQ(WideFromUtf8("\xc0\x80"), L"\ufffd\ufffd");     // overlong
    EXPECT_EQ(WideFromUtf8("\xed\xa0\x80"), L"\ufffd\ufffd\ufffd");  // encoded surrogate
}
