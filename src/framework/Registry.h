// An owned registry key with the few typed helpers the program needs.
//
//   fw::RegKey key;
//   if (key.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Vendor", KEY_READ | KEY_WOW64_32KEY)) {
//       std::wstring folder;
//       key.QueryString(L"Folder", folder);
//   }
//
// The caller passes the access mask, view flags included: this class never
// picks a registry view by itself.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept;
    RegKey& operator=(RegKey&& other) noexcept;

    // Open an existing key / open or create one. False on failure; the
    // Win32 code is kept in LastError().
    bool Open(HKEY root, const std::wstring& subKey, REGSAM access);
    bool Create(HKEY root, const std::wstring& subKey, REGSAM access, DWORD* disposition = nullptr);
    void Close();

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    LSTATUS LastError() const { return lastError_; }

    // A REG_SZ or REG_EXPAND_SZ value (not expanded), up to its first zero.
    // False when the value is missing or of another type.
    bool QueryString(const wchar_t* name, std::wstring& value);
    // A REG_DWORD value; false when missing or of another type.
    bool QueryDword(const wchar_t* name, DWORD& value);
    bool SetString(const wchar_t* name, const std::wstring& value);
    bool SetDword(const wchar_t* name, DWORD value);
    bool DeleteValue(const wchar_t* name);

    // The name of the index-th subkey; false when there is none (end of list).
    bool EnumKeyName(DWORD index, std::wstring& name);

private:
    bool Check(LSTATUS status) {
        lastError_ = status;
        return status == ERROR_SUCCESS;
    }

    HKEY key_ = nullptr;
    LSTATUS lastError_ = ERROR_SUCCESS;
};

}  // namespace fw
