#include "config/MediumManifest.h"

#include "session/Utf8Text.h"

namespace korv {

namespace {

const char kHeader[] = "Korvanix medium manifest 1";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool HexBytes(const std::string& hex, unsigned char* out, size_t count) {
    if (hex.size() != count * 2) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        out[i] = static_cast<unsigned char>(high * 16 + low);
    }
    return true;
}

wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

bool ParseRow(const std::string& line, ManifestEntry& entry) {
    const size_t first = line.find(' ');
    if (first == std::string::npos || !HexBytes(line.substr(0, first), entry.sha256, 32)) {
        return false;
    }
    const size_t second = line.find(' ', first + 1);
    if (second == std::string::npos || second == first + 1 || second - first - 1 > 19) {
        return false;
    }
    entry.size = 0;
    for (size_t i = first + 1; i < second; ++i) {
        if (line[i] < '0' || line[i] > '9') {
            return false;
        }
        entry.size = entry.size * 10 + static_cast<unsigned>(line[i] - '0');
    }
    entry.path = WideFromUtf8(line.substr(second + 1));
    return IsMediumRelativePath(entry.path);
}

}  // namespace

bool IsMediumRelativePath(const std::wstring& path) {
    if (path.empty() || path.size() > 1024) {
        return false;
    }
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) {
            end = path.size();
        }
        const std::wstring part = path.substr(start, end - start);
        if (part.empty() || part == L"." || part == L".." || part.back() == L' ' || part.back() == L'.') {
            return false;
        }
        for (wchar_t c : part) {
            if (c < 32 || c == L'/' || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' ||
                c == L'|') {
                return false;
            }
        }
        start = end + 1;
    }
    return true;
}

bool ParseMediumManifest(const std::string& bytes, std::vector<ManifestEntry>& entries, size_t& badLine) {
    entries.clear();
    badLine = 0;
    size_t start = 0;
    size_t number = 0;
    while (start < bytes.size()) {
        ++number;
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (number == 1) {
            if (line != kHeader) {
                badLine = 1;
                return false;
            }
            continue;
        }
        ManifestEntry entry;
        if (!ParseRow(line, entry) || FindManifestEntry(entries, entry.path) != nullptr) {
            badLine = number;
            entries.clear();
            return false;
        }
        entries.push_back(entry);
    }
    if (number == 0) {
        badLine = 1;
        return false;
    }
    return true;
}

bool ParseManifestSignature(const std::string& bytes, unsigned char (&signature)[64]) {
    std::string hex = bytes;
    if (!hex.empty() && hex.back() == '\n') {
        hex.pop_back();
    }
    if (!hex.empty() && hex.back() == '\r') {
        hex.pop_back();
    }
    return HexBytes(hex, signature, 64);
}

const ManifestEntry* FindManifestEntry(const std::vector<ManifestEntry>& entries, const std::wstring& path) {
    for (const ManifestEntry& entry : entries) {
        if (SamePath(entry.path, path)) {
            return &entry;
        }
    }
    return nullptr;
}

std::wstring HexText(const unsigned char* bytes, size_t count) {
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring hex;
    for (size_t i = 0; i < count; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

}  // namespace korv
