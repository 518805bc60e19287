// comprobe.dll: stands in for the COM libraries the setup registers. Its
// registration journals the command line of the program that loaded it
// (regsvr32), in the journal format of fakepkg.exe, under the name
// "comprobe.dll"; the journal is the file KORV_JOURNAL names.
#include <windows.h>

#include <string>

namespace {

std::string ToUtf8(const wchar_t* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size - 1));
    return out;
}

bool Journal() {
    wchar_t path[MAX_PATH * 4];
    DWORD length = GetEnvironmentVariableW(L"KORV_JOURNAL", path, static_cast<DWORD>(std::size(path)));
    if (length == 0 || length >= std::size(path)) {
        return false;
    }
    const std::string line = "comprobe.dll\t" + ToUtf8(GetCommandLineW()) + "\r\n";
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
              written == line.size();
    CloseHandle(file);
    return ok;
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
    return Journal() ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
    return S_OK;
}
