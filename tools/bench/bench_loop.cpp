// bench_loop: the bare platform's cost of an installation's work, the
// baseline of the engine-overhead figure of scripts/bench.sh. It does what an
// unattended install's plan does with its packages and nothing else: starts
// each program with CreateProcessW and waits for it, one after the other,
// and installs each Windows Installer package through msi.dll with the same
// UI level and command line the engine gives it.
//
//   bench_loop LIST_FILE
//
// LIST_FILE (UTF-8), one step a line, in order:
//   run<TAB>COMMAND LINE            a program, its command line as the engine gives it
//   msi<TAB>PACKAGE<TAB>PROPERTIES  a package, installed with MsiInstallProductW
// Exit code: 0 when every step could be done, 1 when one could not, 2 on a
// usage error.
#include <windows.h>

#include <msi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::vector<std::wstring> Lines(const wchar_t* path) {
    std::vector<std::wstring> lines;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return lines;
    }
    std::string bytes;
    char buffer[4096];
    DWORD count = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &count, nullptr) && count > 0) {
        bytes.append(buffer, count);
    }
    CloseHandle(file);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(Wide(line));
        }
        start = end + 1;
    }
    return lines;
}

bool Run(std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Install(const std::wstring& package, const std::wstring& properties) {
    // The engine's UI level: none of the package's own UI but the
    // source-resolution dialog.
    MsiSetInternalUI(static_cast<INSTALLUILEVEL>(INSTALLUILEVEL_NONE | INSTALLUILEVEL_SOURCERESONLY), nullptr);
    UINT result = MsiInstallProductW(package.c_str(), properties.c_str());
    return result == ERROR_SUCCESS || result == ERROR_SUCCESS_REBOOT_REQUIRED || result == ERROR_SUCCESS_REBOOT_INITIATED;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        fwprintf(stderr, L"usage: bench_loop LIST_FILE\n");
        return 2;
    }
    bool all = true;
    for (const std::wstring& line : Lines(argv[1])) {
        size_t tab = line.find(L'\t');
        if (tab == std::wstring::npos) {
            continue;
        }
        const std::wstring kind = line.substr(0, tab);
        const std::wstring rest = line.substr(tab + 1);
        if (kind == L"run") {
            all = Run(rest) && all;
        } else if (kind == L"msi") {
            size_t second = rest.find(L'\t');
            all = Install(rest.substr(0, second), second == std::wstring::npos ? L"" : rest.substr(second + 1)) && all;
        }
    }
    return all ? 0 : 1;
}
