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
    // A blank (tabs and line breaks are control characters) or a no-break
    // space, which some programs also read as the end of a word.
    return value.find_first_of(L" \u00a0\u3000") == std::wstring::npos;
}

}  // namespace korv
