#include "config/RegistryValues.h"

#include <vector>

namespace korv {

bool IsTerminatedString(DWORD type, const BYTE* data, DWORD dataBytes) {
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) {
        return false;
    }
    if (dataBytes < sizeof(wchar_t) || dataBytes % sizeof(wchar_t) != 0) {
        return false;
    }
    const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
    return text[dataBytes / sizeof(wchar_t) - 1] == L'\0';
}

bool ReadStringValue(HKEY key, const wchar_t* valueName, size_t maxChars, std::wstring& text) {
    // Room for maxChars characters and the terminating zero.
    std::vector<wchar_t> buffer(maxChars + 1, L'\0');
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    LONG status = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (status != ERROR_SUCCESS) {
        return false;  // missing, or larger than the buffer
    }
    if (!IsTerminatedString(type, reinterpret_cast<const BYTE*>(buffer.data()), bytes)) {
        return false;
    }
    text.assign(buffer.data());
    return true;
}

}  // namespace korv
