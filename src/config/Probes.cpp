#include "config/Probes.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "config/RegistryValues.h"

namespace korv {

bool IsArchitecture64Bit(WORD architecture) {
    return architecture == PROCESSOR_ARCHITECTURE_AMD64 || architecture == PROCESSOR_ARCHITECTURE_IA64;
}

void DetectOs64Bit() {
    SYSTEM_INFO info = {};
    GetNativeSystemInfo(&info);
    Session().os64Bit = IsArchitecture64Bit(info.wProcessorArchitecture) ? 1 : 0;
}

std::wstring ReadWindowsVersionValue(const wchar_t* valueName) {
    // Windows keeps this key shared by both registry views, so it is opened
    // without choosing one (a view flag would find an empty copy under Wine).
    ScopedKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_READ,
                      key.Receive()) != ERROR_SUCCESS) {
        return {};
    }
    // A buffer of 4098 bytes, one character more than the largest read, so
    // the text is always terminated.
    wchar_t buffer[4098 / sizeof(wchar_t) + 1] = {};
    DWORD bytes = 4098;
    if (RegQueryValueExW(key.Get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes) !=
        ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

bool ReadImageBits(const std::wstring& path, int& bits) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    auto readAt = [&](LONG offset, void* into, DWORD size) {
        DWORD got = 0;
        return SetFilePointer(file, offset, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
               ReadFile(file, into, size, &got, nullptr) && got == size;
    };
    BYTE dosHeader[64] = {};
    BYTE fileHeader[20] = {};
    bool read = readAt(0, dosHeader, sizeof(dosHeader));
    if (read) {
        DWORD peOffset = dosHeader[60] | dosHeader[61] << 8 | dosHeader[62] << 16 | static_cast<DWORD>(dosHeader[63]) << 24;
        // An offset beyond what a file pointer can take is no image either.
        read = peOffset <= 0x7FFFFFF0u && readAt(static_cast<LONG>(peOffset + 4), fileHeader, sizeof(fileHeader));
    }
    CloseHandle(file);
    if (!read) {
        return false;
    }
    WORD machine = static_cast<WORD>(fileHeader[0] | fileHeader[1] << 8);
    switch (machine) {
    case IMAGE_FILE_MACHINE_I386:
        bits = 32;
        break;
    case IMAGE_FILE_MACHINE_IA64:
    case IMAGE_FILE_MACHINE_AMD64:
        bits = 64;
        break;
    default:
        bits = -1;
        break;
    }
    return true;
}

bool DetectOfficeBitness() {
    // Program ids under HKEY_CLASSES_ROOT are shared by both views, so this
    // key is opened without choosing one.
    ScopedKey curVer;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Excel.Application\\CurVer", 0, KEY_READ, curVer.Receive()) !=
        ERROR_SUCCESS) {
        return false;
    }
    std::wstring version;
    if (!ReadStringValue(curVer.Get(), nullptr, 255, version)) {
        return false;
    }
    // The number after the last "." only tells that an Excel is registered;
    // the word size comes from its program file.

    ScopedKey appPath;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe", 0,
                      KEY_READ | kRegistryView, appPath.Receive()) != ERROR_SUCCESS) {
        return false;
    }
    std::wstring folder;
    if (!ReadStringValue(appPath.Get(), L"Path", 127, folder) || folder.empty()) {
        return false;
    }
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    // A folder ending in "\" gives a doubled backslash, which Windows accepts.
    std::wstring program = folder + L"\\excel.exe";
    int bits = 0;
    if (!ReadImageBits(program, bits) || bits == -1) {
        return false;
    }
    Session().office64Bit = bits == 64 ? 1 : 0;
    return true;
}

std::vector<std::wstring> ListDotNetVersions() {
    std::vector<std::wstring> found;
    auto add = [&](const std::wstring& version) {
        if (std::find(found.begin(), found.end(), version) == found.end()) {
            found.push_back(version);
        }
    };

    ScopedKey ndp;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP", 0,
                      KEY_READ | kRegistryView, ndp.Receive()) != ERROR_SUCCESS) {
        return found;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(ndp.Get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        std::wstring lower = name;
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
        size_t v = lower.find(L'v');
        if (v == std::wstring::npos || v + 1 >= lower.size()) {
            continue;
        }
        wchar_t digit = lower[v + 1];
        if (digit < L'0' || digit > L'9') {
            continue;
        }
        int major = digit - L'0';
        if (major == 2 || major == 3) {
            add(name);
        } else if (major >= 4) {
            ScopedKey versionKey;
            if (RegOpenKeyExW(ndp.Get(), name, 0, KEY_READ | kRegistryView, versionKey.Receive()) != ERROR_SUCCESS) {
                continue;
            }
            for (DWORD sub = 0;; ++sub) {
                wchar_t subName[256] = {};
                DWORD subLength = static_cast<DWORD>(std::size(subName));
                if (RegEnumKeyExW(versionKey.Get(), sub, subName, &subLength, nullptr, nullptr, nullptr, nullptr) !=
                    ERROR_SUCCESS) {
                    break;
                }
                ScopedKey profile;
                if (RegOpenKeyExW(versionKey.Get(), subName, 0, KEY_READ | kRegistryView, profile.Receive()) !=
                    ERROR_SUCCESS) {
                    continue;
                }
                std::wstring version;
                if (ReadStringValue(profile.Get(), L"Version", 255, version)) {
                    add(version);
                }
            }
        }
    }
    return found;
}

const std::vector<DotNetVersion>& DotNetVersionMap() {
    static const std::vector<DotNetVersion> kMap = {
        {L"3.5", L"35"}, {L"4.0", L"40"}, {L"4.5", L"45"}, {L"4.6", L"46"}, {L"4.7", L"47"}, {L"4.8", L"48"},
    };
    return kMap;
}

std::wstring DotNetShortCode(const std::wstring& key) {
    for (const DotNetVersion& entry : DotNetVersionMap()) {
        if (key == entry.key) {
            return entry.shortCode;
        }
    }
    return {};
}

std::wstring PickDotNetVersion(const std::vector<std::wstring>& found) {
    std::set<std::wstring> normalised;
    for (std::wstring entry : found) {
        if (!entry.empty() && IsCharAlphaW(entry.front())) {
            entry.erase(0, 1);
        }
        if (entry.size() > 5) {
            entry.resize(5);
        }
        if (!entry.empty()) {
            normalised.insert(entry);
        }
    }
    if (normalised.empty()) {
        return {};
    }
    const std::wstring& newest = *normalised.rbegin();
    for (const DotNetVersion& entry : DotNetVersionMap()) {
        if (newest.find(entry.key) != std::wstring::npos) {
            return entry.key;
        }
    }
    return DotNetVersionMap().front().key;
}

bool DetectDotNetVersion(InstallSession& session) {
    session.dotNetVersion.clear();
    session.dotNetVersion = PickDotNetVersion(ListDotNetVersions());
    return !session.dotNetVersion.empty();
}

bool DetectDotNetVersion() {
    return DetectDotNetVersion(Session());
}

}  // namespace korv
