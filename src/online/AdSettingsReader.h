// Reading the advertisement service's JSON reply. No platform headers: the
// reader is tested with tables of replies and fuzzed on Linux.
//
// The reply is an object {"code": "<decimal>", "msg": "...", "rs": [ad, ...]}.
// A code that reads as 0 is success. Members are read the way the service's
// own client library reads them, and those rules decide which replies count:
//   - a member that is absent reads as null, and reading a member of null
//     reads from an empty object;
//   - code, msg, the ad texts and the icon sizes must be JSON strings, the
//     ad numbers JSON numbers: any other type makes the whole reply
//     unreadable (so a code sent as a number, or isTagAdd as a boolean, is
//     no page at all);
//   - text-to-number conversions are those of the C library: leading
//     spaces, a sign, digits, and whatever follows is ignored ("12px" is
//     12, "ok" is 0);
//   - rs that is null or not an array is a successful reply without ads;
//   - an element of rs or of icons must be an object or null.
#pragma once

#include <string>
#include <vector>

namespace korv {

struct AdIcon {
    int height = 0;
    int width = 0;
    std::wstring imgUrl;
};

struct AdRecord {
    std::wstring adId;
    std::wstring adName;
    std::wstring adUrl;
    std::wstring targetUrl;  // the page to open
    int isTagAdd = 1;
    int openType = 1;
    std::vector<AdIcon> icons;
};

struct AdLookupError {
    int code = 0;
    std::wstring msg;
};

// False for a refusal (code not 0: the error record, when given, gets the
// code and msg) and for an unreadable reply (the error record gets -1 and
// "error formatting"). Records read before an error stay in `records`.
bool ParseAdSettings(const std::wstring& reply, std::vector<AdRecord>& records, AdLookupError* error);

// The C library's decimal conversion (atoi): leading white space, an
// optional sign, digits up to the first other character; 0 without digits.
// A value beyond the int range stops at INT_MAX or INT_MIN rather than
// wrapping, so a huge code can never read as success.
int DecimalValue(const std::wstring& text);

}  // namespace korv
