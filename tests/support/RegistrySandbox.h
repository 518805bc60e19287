// Gives a test its own HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT: both are
// redirected onto fresh keys under HKCU for the object's lifetime, so tests
// write records freely and never meet each other or the prefix's own data.
#pragma once

#include <windows.h>

#include <string>

namespace korv::test {

class RegistrySandbox {
public:
    RegistrySandbox() {
        root_ = L"Software\\KorvanixTests\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(GetTickCount64()) + L"_" + std::to_wstring(counter_++);
        RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
        RegCreateKeyExW(HKEY_CURRENT_USER, (root_ + L"\\HKLM").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &machine_, nullptr);
        RegCreateKeyExW(HKEY_CURRENT_USER, (root_ + L"\\HKCR").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &classes_, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, machine_);
        RegOverridePredefKey(HKEY_CLASSES_ROOT, classes_);
    }

    ~RegistrySandbox() {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegCloseKey(machine_);
        RegCloseKey(classes_);
        RegDeleteTreeW(HKEY_CURRENT_USER, root_.c_str());
    }

    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Writes a string value (with its terminator) under HKLM or HKCR as the
    // code under test sees them, creating the key.
    static bool SetString(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
        return SetRaw(root, path, name, REG_SZ, value.c_str(), (value.size() + 1) * sizeof(wchar_t));
    }

    static bool SetDword(HKEY root, const std::wstring& path, const wchar_t* name, DWORD value) {
        return SetRaw(root, path, name, REG_DWORD, &value, sizeof(value));
    }

    static bool SetRaw(HKEY root, const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
                       size_t bytes) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | ViewOf(root), nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
        LONG status = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

    static bool CreateKey(HKEY root, const std::wstring& path) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | ViewOf(root), nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }

    // Reads a value back; empty type 0 when missing.
    static bool Query(HKEY root, const std::wstring& path, const wchar_t* name, DWORD& type, std::wstring& text,
                      DWORD& number) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | ViewOf(root), &key) != ERROR_SUCCESS) {
            return false;
        }
        BYTE data[4096] = {};
        DWORD bytes = sizeof(data);
        LONG status = RegQueryValueExW(key, name, nullptr, &type, data, &bytes);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) {
            return false;
        }
        if (type == REG_DWORD) {
            number = *reinterpret_cast<DWORD*>(data);
        } else {
            text.assign(reinterpret_cast<wchar_t*>(data));
        }
        return true;
    }

private:
    // The views the program uses: the 32-bit one under HKLM. Under Wine a
    // view flag on HKEY_CLASSES_ROOT would bypass the override, and the
    // program opens it without one.
    static REGSAM ViewOf(HKEY root) { return root == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0; }

    static inline int counter_ = 0;
    std::wstring root_;
    HKEY machine_ = nullptr;
    HKEY classes_ = nullptr;
};

}  // namespace korv::test
