#include "online/AdSettings.h"

#include <windows.h>

#include <cwctype>
#include <exception>
#include <vector>

#include "online/CloudTransfer.h"
#include "online/Md5.h"

namespace korv {

std::wstring MakeTimestamp() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    // 100-nanosecond ticks since 1601 to whole seconds since 1970.
    const unsigned long long kTicksPerSecond = 10000000ULL;
    const unsigned long long kSeconds1601To1970 = 11644473600ULL;
    long long seconds = static_cast<long long>(ticks.QuadPart / kTicksPerSecond - kSeconds1601To1970);
    return TimestampText(seconds);
}

std::wstring MakeSignature(const std::wstring& path, const AdParams& params) {
    std::wstring signature = Md5Hex(SignatureText(path, params));
    for (wchar_t& c : signature) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    return signature;
}

bool PostSigned(const std::wstring& baseUrl, const std::wstring& path, const AdParams& params,
                std::wstring& response) {
    AdParams signedParams = params;
    signedParams[L"sign"] = MakeSignature(path, params);
    CCloudTransfer transfer;
    return transfer.Post(baseUrl + path, FormBody(signedParams), response);
}

std::wstring GetAdTargetUrl(const std::wstring& server, const std::wstring& version, const std::wstring& language,
                            const std::wstring& channel) {
    // Runs at the very end of an installation that has succeeded: not even
    // running out of memory here may turn it into a crash.
    try {
        std::wstring reply;
        if (!PostSigned(server, kAdSettingPath, MakeAdLookupParams(version, language, channel, MakeTimestamp()),
                        reply)) {
            return {};
        }
        std::vector<AdRecord> records;
        if (!ParseAdSettings(reply, records, nullptr) || records.empty()) {
            return {};
        }
        return records.front().targetUrl;
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace korv
