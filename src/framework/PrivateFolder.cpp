#include "framework/PrivateFolder.h"

#include <aclapi.h>
#include <sddl.h>

#include <iterator>

namespace fw {

namespace {

// SYSTEM and the built-in Administrators: full control of the folder and of
// everything created in it; "P": the parent's entries are not inherited.
constexpr wchar_t kPrivateDacl[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

using GetTempPath2Function = DWORD(WINAPI*)(DWORD, LPWSTR);
using GenRandomFunction = LONG(WINAPI*)(void*, unsigned char*, ULONG, ULONG);

constexpr ULONG kSystemPreferredRng = 0x00000002;  // BCRYPT_USE_SYSTEM_PREFERRED_RNG

}  // namespace

std::wstring TemporaryFolder(size_t maxChars) {
    // Looked up at run time: Windows before the 2021 updates lacks it, and
    // an import would stop the program from starting there.
    auto getTempPath2 = reinterpret_cast<GetTempPath2Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTempPath2W")));
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = getTempPath2 != nullptr ? getTempPath2(static_cast<DWORD>(std::size(temp)), temp)
                                                 : GetTempPathW(static_cast<DWORD>(std::size(temp)), temp);
    if (length == 0 || length >= std::size(temp) || length > maxChars) {
        return {};
    }
    return std::wstring(temp, length);
}

bool RandomBytes(void* buffer, unsigned long size) {
    // bcrypt.dll is no KnownDLL: named by the system folder, never looked for
    // beside the program.
    static const HMODULE bcrypt = LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (bcrypt == nullptr) {
        return false;
    }
    auto genRandom =
        reinterpret_cast<GenRandomFunction>(reinterpret_cast<void*>(GetProcAddress(bcrypt, "BCryptGenRandom")));
    return genRandom != nullptr &&
           genRandom(nullptr, static_cast<unsigned char*>(buffer), size, kSystemPreferredRng) >= 0;
}

std::wstring RandomName() {
    unsigned char bytes[8] = {};
    if (!RandomBytes(bytes, sizeof(bytes))) {
        return {};
    }
    constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring name;
    for (unsigned char byte : bytes) {
        name += kDigits[byte >> 4];
        name += kDigits[byte & 0x0F];
    }
    return name;
}

PrivateSecurity::PrivateSecurity(const wchar_t* sddl) {
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl != nullptr ? sddl : kPrivateDacl, SDDL_REVISION_1,
                                                             &descriptor_, nullptr)) {
        attributes_.nLength = sizeof(attributes_);
        attributes_.lpSecurityDescriptor = descriptor_;
        attributes_.bInheritHandle = FALSE;
    } else {
        descriptor_ = nullptr;
    }
}

PrivateSecurity::~PrivateSecurity() {
    if (descriptor_ != nullptr) {
        LocalFree(descriptor_);
    }
}

bool SecureInstallFolder(const std::wstring& folder) {
    // Read and run (0x1200a9: FILE_GENERIC_READ | FILE_GENERIC_EXECUTE) for
    // the Users, as under Program Files.
    PrivateSecurity security(L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)");
    PACL dacl = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    if (security.Descriptor() == nullptr ||
        !GetSecurityDescriptorDacl(security.Descriptor(), &present, &dacl, &defaulted) || IsReparsePoint(folder)) {
        return false;
    }
    // Set by name so that what the folder already holds inherits the new
    // rights too; then once more on the folder itself, the only way Wine
    // takes them (as the Unix mode). On Windows the second changes nothing.
    return SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT,
                                 DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                 dacl, nullptr) == ERROR_SUCCESS &&
           SetFileSecurityW(folder.c_str(), DACL_SECURITY_INFORMATION, security.Descriptor());
}

bool IsReparsePoint(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::wstring CreatePrivateFolder(const std::wstring& parent, const std::wstring& prefix, size_t maxChars) {
    PrivateSecurity security;
    if (security.Attributes() == nullptr) {
        return {};
    }
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::wstring name = RandomName();
        if (name.empty()) {
            return {};
        }
        const std::wstring folder = parent + prefix + name + L"\\";
        if (folder.size() > maxChars) {
            return {};
        }
        // CreateDirectory fails on a folder that exists already: one that
        // someone prepared under this name is never used.
        if (CreateDirectoryW(folder.c_str(), security.Attributes())) {
            if (IsReparsePoint(folder.substr(0, folder.size() - 1))) {
                RemoveDirectoryW(folder.c_str());
                return {};
            }
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            return {};
        }
    }
    return {};
}

}  // namespace fw
