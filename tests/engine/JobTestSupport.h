// A medium and an installation folder for runs of the install job, the
// unattended install and the uninstall with real (fake) programs: every
// program is a copy of fakepkg.exe, which journals its command line, and the
// installer packages are the fixture MSIs.
#pragma once

#include <windows.h>

#include <msi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/EngineTestSupport.h"
#include "fixtures/Fixtures.h"
#include "fixtures/Journal.h"
#include "support/TempFolder.h"
#include "support/Text.h"

namespace korv::test {

class JobMedium {
public:
    JobMedium() : journalVariable_(journal) {
        CreateDirectoryW((medium / L"Msi").c_str(), nullptr);
        CreateDirectoryW((medium / L"files").c_str(), nullptr);
        CreateDirectoryW(target.c_str(), nullptr);
    }

    // A program under subfolder ("" for the medium's root).
    void Program(const std::wstring& subfolder, const std::wstring& name) {
        PlaceFakePackage(In(subfolder, name));
    }
    // An installer package: a copy of one of the fixture MSIs.
    void Package(const std::wstring& name, const wchar_t* fixture) {
        CopyFileW(FixturePath(fixture).c_str(), In(L"Msi", name).c_str(), FALSE);
    }
    // Everything a job or an unattended install starts by fixed name; the
    // XML parser packages fail (silently for msxml6.msi).
    void PlaceStandardFiles() {
        for (const wchar_t* name : {L"WindowsInstaller-KB893803-v2-x86.exe", L"vc_redist.x86.exe",
                                    L"vc_redist.x64.exe", L"vcredist_x64_10.exe"}) {
            Program(L"Msi", name);
        }
        Package(L"msxml6.msi", L"fixture_fail.msi");
        Package(L"msxml6_x64.msi", L"fixture_fail.msi");
        for (const wchar_t* name : {L"korv_kernel.exe", L"korv_korvfile.exe", L"korv_global.exe", L"korv_local.exe",
                                    L"korv_resfile.exe", L"korv_help.exe", L"korv_encryption.exe",
                                    L"kvninst_x64.exe", L"kvninst_x86.exe", L"SetupWriter_x64.exe",
                                    L"SetupWriter.exe"}) {
            Program(L"files", name);
        }
        for (const wchar_t* name : {L"Setup.exe", L"IntallerRes.dll", L"KUninstall.exe"}) {
            Program(L"", name);
        }
    }
    void Remove(const std::wstring& subfolder, const std::wstring& name) { DeleteFileW(In(subfolder, name).c_str()); }

    std::wstring MediumPath() const { return medium.Path(); }
    std::wstring In(const std::wstring& subfolder, const std::wstring& name) const {
        return subfolder.empty() ? medium / name : medium / (subfolder + L"\\" + name);
    }
    std::vector<JournalEntry> Journal() const { return ReadJournal(journal); }

    TempFolder medium{L"korv job medium"};
    TempFolder scratch{L"korv job"};
    const std::wstring target = scratch / L"Korv Target";
    const std::wstring journal = scratch / L"journal.txt";

private:
    JournalVariable journalVariable_;
};

// Removes the fixture products (fixture_ok and fixture_restart) a run installed.
inline void RemoveFixtureProduct() {
    MsiSetExternalUIW(nullptr, 0, nullptr);
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    for (const wchar_t* product : {kFixtureOkProductCode, kFixtureRestartProductCode}) {
        if (MsiQueryProductStateW(product) == INSTALLSTATE_DEFAULT) {
            MsiConfigureProductW(product, INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
        }
    }
}

// The REBOOT property the restart fixture was last installed with; empty
// when it is not installed.
inline std::wstring RestartFixtureRebootProperty() {
    wchar_t value[64] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kFixtureRestartRecordKey, L"REBOOT", RRF_RT_REG_SZ, nullptr, value,
                     &bytes) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

// Steers the fake programs that lie where no fakepkg.ini can be put beside
// them (the uninstaller's hand-over and rollback folders, which the setup
// creates and removes): KORV_FAKEPKG_INI names a steering file for them.
class FarSteering {
public:
    explicit FarSteering(const TempFolder& folder) : file_(folder / L"far-steering.ini") {
        SetEnvironmentVariableW(L"KORV_FAKEPKG_INI", file_.c_str());
    }
    ~FarSteering() { SetEnvironmentVariableW(L"KORV_FAKEPKG_INI", nullptr); }
    FarSteering(const FarSteering&) = delete;
    FarSteering& operator=(const FarSteering&) = delete;

    // [name] key=value
    void Set(const std::wstring& name, const std::wstring& key, const std::wstring& value) const {
        WritePrivateProfileStringW(name.c_str(), key.c_str(), value.c_str(), file_.c_str());
    }

private:
    std::wstring file_;
};

inline std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

inline std::vector<std::wstring> Names(const std::vector<JournalEntry>& entries) {
    std::vector<std::wstring> names;
    for (const JournalEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

}  // namespace korv::test
