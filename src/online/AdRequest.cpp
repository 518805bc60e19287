#include "online/AdRequest.h"

#include <algorithm>
#include <vector>

#include "framework/DecimalText.h"
#include "session/Utf8Text.h"

namespace korv {

const wchar_t kAdSettingPath[] = L"/api/v3/adSetting";

AdParams MakeAdLookupParams(const std::wstring& version, const std::wstring& language, const std::wstring& channel,
                            const std::wstring& timestamp) {
    return AdParams{
        {L"clientType", L"DF_Korvanix"},
        {L"clientVersion", version},
        {L"channelNo", channel},
        {L"language", language},
        {L"type", L"7"},
        {L"ts", timestamp},
    };
}

std::wstring SignatureText(const std::wstring& path, const AdParams& params) {
    std::vector<std::wstring> pairs;
    for (const auto& [name, value] : params) {
        if (name == L"sign" || value.empty()) {
            continue;
        }
        pairs.push_back(name + L"=" + value);
    }
    std::sort(pairs.begin(), pairs.end());

    auto utoken = params.find(L"utoken");
    if (utoken != params.end()) {
        pairs.push_back(L"key=" + utoken->second);
    } else if (!pairs.empty()) {
        pairs.push_back(L"key" + pairs.front().substr(pairs.front().find(L'=')));
    }

    std::wstring joined;
    for (const std::wstring& pair : pairs) {
        if (!joined.empty()) {
            joined += L'&';
        }
        joined += pair;
    }
    return path + L"?" + joined;
}

std::wstring FormEncoded(const std::wstring& text) {
    constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring encoded;
    for (unsigned char byte : Utf8FromWide(text)) {
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
            byte == '*' || byte == '-' || byte == '.' || byte == '_') {
            encoded += static_cast<wchar_t>(byte);
        } else if (byte == ' ') {
            encoded += L'+';
        } else {
            encoded += L'%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::wstring FormBody(const AdParams& params) {
    std::wstring body;
    for (const auto& [name, value] : params) {
        body += FormEncoded(name) + L"=" + FormEncoded(value) + L"&";
    }
    while (!body.empty() && body.back() == L'&') {
        body.pop_back();
    }
    return body;
}

std::wstring TimestampText(long long secondsSince1970) { return fw::DecimalText(secondsSince1970 * 1000); }

}  // namespace korv
