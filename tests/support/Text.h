// Wide texts in failure messages: GoogleTest prints narrow strings, so
// tests turn paths and command lines into UTF-8 for their messages.
#pragma once

#include <windows.h>

#include <string>

namespace korv::test {

inline std::string Narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace korv::test
