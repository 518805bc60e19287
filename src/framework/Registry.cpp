#include "framework/Registry.h"

#include <utility>
#include <vector>

namespace fw {

RegKey::RegKey(RegKey&& other) noexcept
    : key_(std::exchange(other.key_, nullptr)), lastError_(other.lastError_) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = std::exchange(other.key_, nullptr);
        lastError_ = other.lastError_;
    }
    return *this;
}

bool RegKey::Open(HKEY root, const std::wstring& subKey, REGSAM access) {
    Close();
    return Check(RegOpenKeyExW(root, subKey.c_str(), 0, access, &key_));
}

bool RegKey::Create(HKEY root, const std::wstring& subKey, REGSAM access, DWORD* disposition) {
    Close();
    return Check(RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key_,
                                 disposition));
}

void RegKey::Close() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

bool RegKey::QueryString(const wchar_t* name, std::wstring& value) {
    DWORD type = 0;
    DWORD bytes = 0;
    if (!Check(RegQueryValueExW(key_, name, nullptr, &type, nullptr, &bytes))) {
        return false;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        lastError_ = ERROR_INVALID_DATATYPE;
        return false;
    }
    // The value may change between the two calls; retry until it fits.
    std::vector<wchar_t> buffer;
    LSTATUS status;
    do {
        buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        status = RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    } while (status == ERROR_MORE_DATA);
    if (!Check(status)) {
        return false;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        lastError_ = ERROR_INVALID_DATATYPE;
        return false;
    }
    // Stored data need not be terminated: the extra element is, and the
    // text ends at the first zero either way.
    value.assign(buffer.data());
    return true;
}

bool RegKey::QueryDword(const wchar_t* name, DWORD& value) {
    DWORD type = 0;
    DWORD data = 0;
    DWORD bytes = sizeof(data);
    if (!Check(RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &bytes))) {
        return false;
    }
    if (type != REG_DWORD || bytes != sizeof(data)) {
        lastError_ = ERROR_INVALID_DATATYPE;
        return false;
    }
    value = data;
    return true;
}

bool RegKey::SetString(const wchar_t* name, const std::wstring& value) {
    auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return Check(RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes));
}

bool RegKey::SetDword(const wchar_t* name, DWORD value) {
    return Check(RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)));
}

bool RegKey::DeleteValue(const wchar_t* name) { return Check(RegDeleteValueW(key_, name)); }

bool RegKey::EnumKeyName(DWORD index, std::wstring& name) {
    // Key names are at most 255 characters.
    wchar_t buffer[256];
    DWORD length = static_cast<DWORD>(std::size(buffer));
    if (!Check(RegEnumKeyExW(key_, index, buffer, &length, nullptr, nullptr, nullptr, nullptr))) {
        return false;
    }
    name.assign(buffer, length);
    return true;
}

}  // namespace fw
