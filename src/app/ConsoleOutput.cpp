#include "app/ConsoleOutput.h"

#include <windows.h>

#include "session/Utf8Text.h"

namespace korv {

namespace {

bool WriteTo(HANDLE out, const std::wstring& text) {
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode)) {
        return WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != FALSE;
    }
    const std::string bytes = Utf8FromWide(text);
    return WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
}

}  // namespace

bool WriteToConsole(const std::wstring& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN) {
        return WriteTo(out, text);
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return false;
    }
    // The console's prompt is usually back already: start on a line of its own.
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    const bool written = console != INVALID_HANDLE_VALUE && WriteTo(console, L"\r\n" + text);
    if (console != INVALID_HANDLE_VALUE) {
        CloseHandle(console);
    }
    FreeConsole();
    return written;
}

}  // namespace korv
