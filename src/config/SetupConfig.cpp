#include "config/SetupConfig.h"

#include <windows.h>

#include <algorithm>

#include "config/InstalledRecords.h"
#include "config/NameRules.h"
#include "session/LocalText.h"

namespace korv {

namespace {

// Setup.ini through the Windows profile functions. Text values are read
// whole: the buffer starts at 260 characters and grows while the value
// fills it, up to a bound no value of the file can reach.
class ProfileFile final : public IniValues {
public:
    ProfileFile(std::wstring path, unsigned long long fileBytes)
        : path_(std::move(path)),
          // A value is never longer than the file, in characters, plus the
          // longest fallback this program passes.
          maxChars_(static_cast<DWORD>(std::min<unsigned long long>(fileBytes, kMaxSetupIniBytes) + 1024)) {}

    std::wstring Text(const wchar_t* section, const wchar_t* key, const wchar_t* fallback) const override {
        DWORD size = std::min<DWORD>(kFirstBuffer, maxChars_);
        for (;;) {
            std::wstring buffer(size, L'\0');
            DWORD length = GetPrivateProfileStringW(section, key, fallback, buffer.data(), size, path_.c_str());
            // A value that fills the buffer comes back as size - 1
            // characters, cut or not: read again with room to spare.
            if (length + 1 < size || size >= maxChars_) {
                buffer.resize(std::min<DWORD>(length, size - 1));
                return buffer;
            }
            size = maxChars_ / 2 < size ? maxChars_ : size * 2;
        }
    }

    int Number(const wchar_t* section, const wchar_t* key, int fallback) const override {
        return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, path_.c_str()));
    }

private:
    static constexpr DWORD kFirstBuffer = 260;
    std::wstring path_;
    DWORD maxChars_;
};

// Size of a file in bytes; false when it is not there (or is a folder).
bool FileBytes(const std::wstring& path, unsigned long long& bytes) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    bytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

}  // namespace

std::wstring ToLowerText(const std::wstring& text) {
    std::wstring lower = text;
    if (!lower.empty()) {
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    }
    return lower;
}

void ReadPackageList(const std::wstring& iniPath, InstallSession& session) {
    session.FreePackages();
    unsigned long long bytes = 0;
    if (!FileBytes(iniPath, bytes) || bytes > kMaxSetupIniBytes) {
        return;
    }
    session.packages = ReadPackageRecords(ProfileFile(iniPath, bytes));
    session.packageCount = static_cast<int>(session.packages.size());
}

void ReadPackageList(const std::wstring& iniPath) {
    ReadPackageList(iniPath, Session());
}

SetupIniState ReadSetupConfigFile(const std::wstring& programPath, InstallSession& s, std::wstring* refusedKey) {
    size_t slash = programPath.find_last_of(L'\\');
    s.setupFolder = slash == std::wstring::npos ? std::wstring() : programPath.substr(0, slash);

    // Without a folder, "\Setup.ini" would name a file in the root of the
    // current drive, which belongs to no medium.
    const std::wstring ini = s.setupFolder + L"\\Setup.ini";
    unsigned long long bytes = 0;
    if (s.setupFolder.empty() || !FileBytes(ini, bytes)) {
        return SetupIniState::kMissing;
    }
    if (bytes > kMaxSetupIniBytes) {
        return SetupIniState::kTooLarge;
    }

    s.productName = TrimSpace(LoadText(2015, L"Korvanix2024"));
    if (s.productName.empty()) {
        s.productName = L"Korvanix 2024";
    }
    SetupIniValues v = ReadSetupIni(ProfileFile(ini, bytes), s.os64Bit);
    s.companyName = std::move(v.companyName);
    s.productVersion = std::move(v.productVersion);
    s.product64Bit = v.product64Bit;
    s.targetFolder = std::move(v.targetFolder);
    s.languageName = std::move(v.languageName);
    s.languageCode = ToLowerText(s.languageName);
    s.languageId = LanguageIdFor(s.languageCode);
    s.netTest = v.netTest;
    s.packages = std::move(v.packages);
    s.packageCount = static_cast<int>(s.packages.size());
    s.classicWorkspace = v.classicWorkspace;
    s.numValue = v.numValue;
    s.textColour = v.textColour;
    s.beta = v.beta;
    s.migrateFolderName = std::move(v.migrateFolderName);
    s.migratePrevious = std::move(v.migratePrevious);
    s.migrateExport = std::move(v.migrateExport);
    s.migrateImport = std::move(v.migrateImport);
    s.migrateReset = std::move(v.migrateReset);
    s.migrateVersion = std::move(v.migrateVersion);
    s.globalServer = std::move(v.globalServer);
    s.channel = std::move(v.channel);

    s.setupFolder += L"\\";
    // A document the medium does not name has no path: joined, the empty
    // name would make the medium's folder the document.
    const auto document = [&s](const std::wstring& name) { return name.empty() ? name : s.setupFolder + name; };
    s.privacyPolicyPath = document(v.privacyPolicy);
    s.systemRequirementsPath = document(v.systemRequire);
    s.licenceAgreementPath = document(v.licenseAgree);

    // The product's names come from the resource library beside the
    // program: they name the programs menu's folder and registry keys, and
    // go quoted into the configuration program's command line.
    std::wstring refused = v.unusableKey;
    const std::wstring regName = ProductRegName();
    if (refused.empty() && !(IsPlainName(s.productName) && IsQuotedFieldValue(s.productName))) {
        refused = L"the product name (text 2015 of IntallerRes.dll)";
    }
    if (refused.empty() && !(IsPlainName(regName) && IsQuotedFieldValue(regName))) {
        refused = L"the product's registry name (text 1996 of IntallerRes.dll)";
    }
    if (!refused.empty()) {
        if (refusedKey != nullptr) {
            *refusedKey = refused;
        }
        return SetupIniState::kUnusable;
    }
    return SetupIniState::kRead;
}

bool ReadSetupConfigFor(const std::wstring& programPath, InstallSession& session) {
    return ReadSetupConfigFile(programPath, session) == SetupIniState::kRead;
}

bool ReadSetupConfig() {
    return ReadSetupConfigFor(RunningProgramPath(), Session());
}

std::wstring RunningProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) {
            return {};  // longer than any Windows path: no folder to read from
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace korv
