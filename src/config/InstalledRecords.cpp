#include "config/InstalledRecords.h"

#include <windows.h>

#include <iterator>

#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "config/InstallFolderRule.h"
#include "config/RegistryValues.h"
#include "config/SetupConfig.h"

namespace korv {

std::wstring ProductRegName() {
    std::wstring name = LoadText(1996, L"Korvanix");
    if (name.empty()) {
        name = L"Korvanix";
    }
    return TrimSpace(name);
}

std::wstring SetupRecordKeyPath(const std::wstring& companyName, const std::wstring& productRegName) {
    return L"SOFTWARE\\" + companyName + L"\\" + productRegName + L"\\" + productRegName + L"_Setup\\";
}

std::wstring UninstallKeyPath(const InstallSession& session, bool ownBuild) {
    // A released medium (BETA=0) is the own build without the suffix and
    // looks for the beta with it; a beta medium (BETA=1) the other way round.
    // Any other BETA value gives no suffix for either lookup.
    bool suffix = ownBuild ? session.beta == 1 : session.beta == 0;
    std::wstring path = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + session.productName + L"_" +
                        session.languageCode;
    if (suffix) {
        path += L" beta";
    }
    return path;
}

void WriteSetupRecord(InstallSession& s) {
    s.productRegName = ProductRegName();
    std::wstring path = SetupRecordKeyPath(s.companyName, s.productRegName);

    ScopedKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS | kRegistryView, key.Receive()) !=
        ERROR_SUCCESS) {
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_READ | KEY_WRITE | kRegistryView, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS) {
            ShowTipMessage(kTipNotice, LoadText(2003, L"Error\xFF1AUnable to Create the registry information!").c_str());
            return;
        }
    }

    auto setText = [&](const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    auto setNumber = [&](const wchar_t* name, int value) {
        DWORD number = static_cast<DWORD>(value);
        RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    };
    setText(L"path", s.targetFolder);
    setText(L"language", s.languageId);
    setNumber(L"NUM", s.numValue);
    setNumber(L"NetTest", s.netTest);
}

void WriteSetupRecord() {
    WriteSetupRecord(Session());
}

bool RemoveSetupRecord(const InstallSession& s) {
    const std::wstring regName = s.productRegName.empty() ? ProductRegName() : s.productRegName;
    if (s.companyName.empty() || regName.empty()) {
        return false;  // no record of this program's making can have such a path
    }
    // The record itself, then each key above it while it is empty, up to the
    // company's, the last one this program could have made. A key that still
    // holds others refuses to go, which ends the walk.
    const std::wstring company = L"SOFTWARE\\" + s.companyName;
    const std::wstring keys[] = {company + L"\\" + regName + L"\\" + regName + L"_Setup", company + L"\\" + regName,
                                 company};
    for (size_t i = 0; i < std::size(keys); ++i) {
        const LONG result = RegDeleteKeyExW(HKEY_LOCAL_MACHINE, keys[i].c_str(), kRegistryView, 0);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
            return i > 0;
        }
    }
    return true;
}

bool IsRegisteredInstallFolder(const std::wstring& location) {
    std::wstring folder = location;
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return IsFolderBelowRoot(folder);
}

void LookupInstalledRecord(const std::wstring& uninstallKeyPath, InstallSession& s) {
    auto notInstalled = [&] {
        s.installed = 0;
        s.maintenanceMode = kModeInstall;
    };

    ScopedKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstallKeyPath.c_str(), 0, KEY_READ | kRegistryView, key.Receive()) !=
        ERROR_SUCCESS) {
        notInstalled();
        return;
    }

    std::wstring platform;
    if (!ReadStringValue(key.Get(), L"Platform", 129, platform)) {
        notInstalled();
        return;
    }
    s.installed = 1;
    s.installed64Bit = platform == L"x86" ? 0 : 1;

    // A location that names no installation folder (empty, relative, a
    // root) is no installed copy: maintenance and uninstall would otherwise
    // work on korv.exe, KUninstall and install.log in whatever folder it
    // resolves to, such as the root of the current drive.
    std::wstring location;
    if (!ReadStringValue(key.Get(), L"InstallLocation", 511, location) ||
        !IsRegisteredInstallFolder(location)) {
        notInstalled();
        return;
    }
    s.installed = 1;
    s.targetFolder = location;
    ReadPackageList(location + L"\\Setup.ini", s);
}

void FindInstalledCopy() {
    LookupInstalledRecord(UninstallKeyPath(Session(), true), Session());
}

void FindOtherBuildCopy() {
    LookupInstalledRecord(UninstallKeyPath(Session(), false), Session());
}

}  // namespace korv
