#include "online/UnicodeEscapes.h"

namespace korv {

namespace {

int HexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

}  // namespace

std::wstring DecodeUnicodeEscapes(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L'\\' && i + 5 < text.size() && text[i + 1] == L'u') {
            int value = 0;
            bool hex = true;
            for (size_t k = i + 2; k < i + 6 && hex; ++k) {
                int digit = HexValue(text[k]);
                hex = digit >= 0;
                value = value * 16 + digit;
            }
            if (hex) {
                out.push_back(static_cast<wchar_t>(value));
                i += 6;
                continue;
            }
        }
        out.push_back(text[i]);
        ++i;
    }
    return out;
}

}  // namespace korv
