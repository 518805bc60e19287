// Registry reads with the checks the records rely on.
#pragma once

#include <windows.h>

#include <string>

namespace korv {

// Every HKEY_LOCAL_MACHINE access of the setup uses the 32-bit view, whatever
// this build's word size: the records must meet those that earlier 32-bit
// builds and the product itself wrote. (Program ids under HKEY_CLASSES_ROOT
// are shared by both views and are opened without a view.)
constexpr REGSAM kRegistryView = KEY_WOW64_32KEY;

// Reads a string value of at most maxChars characters. It counts as read only
// when it exists, fits, has a string type (REG_SZ, REG_EXPAND_SZ or
// REG_MULTI_SZ) and ends in a terminating zero; the text is what stands
// before the first zero.
bool ReadStringValue(HKEY key, const wchar_t* valueName, size_t maxChars, std::wstring& text);

// True when the text of a value's data (dataBytes bytes, type) passes the
// checks above; the decision behind ReadStringValue.
bool IsTerminatedString(DWORD type, const BYTE* data, DWORD dataBytes);

// Closes a key when it goes out of scope.
class ScopedKey {
public:
    ScopedKey() = default;
    ~ScopedKey() { Close(); }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    HKEY* Receive() { Close(); return &key_; }
    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    void Close() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace korv
