#include "online/HttpRequestRules.h"

namespace korv {

namespace {

// INTERNET_FLAG_* values (wininet.h), written out so this file needs no
// platform header.
constexpr std::uint32_t kExistingConnect = 0x20000000;
constexpr std::uint32_t kSecure = 0x00800000;
constexpr std::uint32_t kIgnoreRedirectToHttps = 0x00004000;

// prefix is lower-case ASCII; the comparison ignores the locale.
bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    for (size_t i = 0; prefix[i] != L'\0'; ++i) {
        if (i >= text.size()) {
            return false;
        }
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
        if (c != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool ParsePort(const std::wstring& digits, std::uint16_t& port) {
    if (digits.empty() || digits.size() > 5) {
        return false;
    }
    unsigned value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    if (value == 0 || value > 65535) {
        return false;
    }
    port = static_cast<std::uint16_t>(value);
    return true;
}

}  // namespace

bool SplitUrl(const std::wstring& url, UrlParts& parts) {
    for (wchar_t c : url) {
        if (c <= L' ' || c == 0x7F) {
            return false;
        }
    }
    size_t authorityStart;
    UrlParts result;
    if (StartsWithNoCase(url, L"https://")) {
        result.https = true;
        result.port = 443;
        authorityStart = 8;
    } else if (StartsWithNoCase(url, L"http://")) {
        result.port = 80;
        authorityStart = 7;
    } else {
        return false;
    }

    size_t authorityEnd = url.find_first_of(L"/?#", authorityStart);
    if (authorityEnd == std::wstring::npos) {
        authorityEnd = url.size();
    }
    std::wstring authority = url.substr(authorityStart, authorityEnd - authorityStart);
    // User name and password are not ours to send; the host follows them.
    size_t at = authority.rfind(L'@');
    if (at != std::wstring::npos) {
        authority.erase(0, at + 1);
    }

    std::wstring host = authority;
    std::wstring portText;
    bool hasPort = false;
    if (!authority.empty() && authority[0] == L'[') {
        size_t close = authority.find(L']');
        if (close == std::wstring::npos) {
            return false;
        }
        host = authority.substr(1, close - 1);
        std::wstring rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != L':') {
                return false;
            }
            hasPort = true;
            portText = rest.substr(1);
        }
    } else {
        size_t colon = authority.find(L':');
        if (colon != std::wstring::npos) {
            host = authority.substr(0, colon);
            hasPort = true;
            portText = authority.substr(colon + 1);
        }
    }
    if (host.empty() || host.find_first_of(L"[]@") != std::wstring::npos) {
        return false;
    }
    if (hasPort && !ParsePort(portText, result.port)) {
        return false;
    }
    result.host = host;

    std::wstring object = url.substr(authorityEnd);
    size_t fragment = object.find(L'#');
    if (fragment != std::wstring::npos) {
        object.erase(fragment);
    }
    if (object.empty() || object[0] != L'/') {
        object.insert(0, L"/");
    }
    result.object = object;
    parts = result;
    return true;
}

bool IsAcceptedPageAddress(const std::wstring& url, bool plainHttpAllowed) {
    UrlParts parts;
    if (!SplitUrl(url, parts) || (!parts.https && !plainHttpAllowed) || parts.host.empty()) {
        return false;
    }
    // The authority as written: SplitUrl drops user information, and a
    // browser reads "\" as "/", so either would let the address name
    // another host than the one checked here.
    const size_t start = url.find(L"//") + 2;
    const size_t end = url.find_first_of(L"/?#", start);
    const std::wstring authority = url.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    if (authority.find_first_of(L"@\\%") != std::wstring::npos) {
        return false;
    }
    const bool bracketed = authority.front() == L'[';
    for (wchar_t c : parts.host) {
        const bool nameChar = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                              c == L'-' || c == L'.';
        if (!nameChar && !(bracketed && c == L':')) {
            return false;
        }
    }
    return true;
}

bool IsSecureUrl(const std::wstring& url) { return StartsWithNoCase(url, L"https:"); }

std::uint32_t RequestFlags(bool secure) {
    // A secure request carries no INTERNET_FLAG_IGNORE_CERT_* and no
    // INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP: a certificate WinInet refuses,
    // or a redirect down to plain HTTP, ends the lookup instead of letting
    // someone on the network path choose the page shown after setup.
    return secure ? kExistingConnect | kSecure : kExistingConnect | kIgnoreRedirectToHttps;
}

std::wstring UserAgentFor(const std::wstring& programPath) {
    size_t separator = programPath.find_last_of(L"\\/");
    std::wstring fileName = separator == std::wstring::npos ? std::wstring() : programPath.substr(separator + 1);
    return L"Korvanix/1.0 (" + fileName + L" 1.0; Windows NT 6.1)";
}

}  // namespace korv
