#include "config/NameRules.h"

namespace korv {

namespace {

bool IsControl(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

bool IsPlainName(const std::wstring& name) {
    if (name.empty() || name.find(L"..") != std::wstring::npos) {
        return false;
    }
    for (wchar_t c : name) {
        if (c == L'\\' || c == L'/' || c == L':' || IsControl(c)) {
            return false;
        }
    }
    return true;
}

bool IsQuotedFieldValue(const std::wstring& value) {
    for (wchar_t c : value) {
        if (c == L'"' || c == L'\'' || IsControl(c)) {
            return false;
        }
    }
    return true;
}

bool IsUnquotedFieldValue(const std::wstring& value) {
    if (!IsQuotedFieldValue(value)) {
        return false;
    }
    for (wchar_t c : value) {
        // Blank, no-break space and the other separators a command line
        // splitter or a program might treat as the end of a word.
        if (c == L' ' || c == 0xA0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
            c == 0x2029 || c == 0x202F || c == 0x205F || c == 0xFEFF) {
            return false;
        }
    }
    return true;
}

}  // namespace korv
