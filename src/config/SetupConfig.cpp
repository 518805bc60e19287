#include "config/SetupConfig.h"

#include <windows.h>

#include "session/LocalText.h"

namespace korv {

namespace {

// Values pass through a buffer of 260 characters: longer ones are cut to 259.
constexpr DWORD kValueBuffer = 260;

std::wstring ReadText(const std::wstring& ini, const wchar_t* section, const wchar_t* key,
                      const wchar_t* defaultValue) {
    wchar_t buffer[kValueBuffer] = {};
    GetPrivateProfileStringW(section, key, defaultValue, buffer, kValueBuffer, ini.c_str());
    return buffer;
}

int ReadInt(const std::wstring& ini, const wchar_t* section, const wchar_t* key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntW(section, key, defaultValue, ini.c_str()));
}

std::wstring OrDefault(const std::wstring& value, const wchar_t* fallback) {
    return value.empty() ? std::wstring(fallback) : value;
}

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::wstring TrimSpace(const std::wstring& text) {
    const wchar_t* space = L" \t\r\n\v\f";
    size_t first = text.find_first_not_of(space);
    if (first == std::wstring::npos) {
        return {};
    }
    size_t last = text.find_last_not_of(space);
    return text.substr(first, last - first + 1);
}

std::wstring CleanFolderValue(const std::wstring& value) {
    std::wstring folder = TrimSpace(value);
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

std::wstring ToLowerText(const std::wstring& text) {
    std::wstring lower = text;
    if (!lower.empty()) {
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    }
    return lower;
}

std::wstring LanguageIdFor(const std::wstring& code) {
    struct Row {
        const wchar_t* code;
        const wchar_t* id;
    };
    static const Row kTable[] = {
        {L"zh_cn", L"2052"}, {L"korvanix_cn", L"2052"}, {L"zh_tw", L"1028"}, {L"korvanix_tw", L"1028"},
        {L"fr_fr", L"1036"}, {L"mireda", L"1041"},      {L"ja_jp", L"1041"}, {L"de_de", L"1031"},
        {L"it_it", L"1040"}, {L"ko_kr", L"1042"},       {L"es_es", L"3082"},
    };
    for (const Row& row : kTable) {
        if (code == row.code) {
            return row.id;
        }
    }
    return L"1033";
}

unsigned long PackTextColour(int red, int green, int blue) {
    return RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
}

void ReadPackageList(const std::wstring& iniPath, InstallSession& session) {
    session.FreePackages();
    int count = ReadInt(iniPath, L"packnum", L"count", 0);
    if (count <= 0 || count > kMaxPackageCount) {
        return;
    }
    session.packages.resize(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        std::wstring section = L"sub" + std::to_wstring(i);
        PackageRecord& record = session.packages[static_cast<size_t>(i - 1)];
        record.name = ReadText(iniPath, section.c_str(), L"name", L"");
        record.description = ReadText(iniPath, section.c_str(), L"description", L"");
        record.package = ReadText(iniPath, section.c_str(), L"package", L"");
        record.check = ReadInt(iniPath, section.c_str(), L"check", 0);
        record.enable = ReadInt(iniPath, section.c_str(), L"enable", 1);
        record.removeFlag = false;
        record.showFlag = ReadInt(iniPath, section.c_str(), L"showFlag", 0);
    }
    session.packageCount = count;
}

void ReadPackageList(const std::wstring& iniPath) {
    ReadPackageList(iniPath, Session());
}

bool ReadSetupConfigFor(const std::wstring& programPath, InstallSession& s) {
    // The program path passes through a buffer of 260 characters.
    std::wstring path = programPath.substr(0, MAX_PATH - 1);
    size_t slash = path.find_last_of(L'\\');
    s.setupFolder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);

    std::wstring ini = s.setupFolder + L"\\Setup.ini";
    if (!FileExists(ini)) {
        return false;
    }

    s.productName = OrDefault(TrimSpace(LoadText(2015, L"Korvanix2024")), L"Korvanix 2024");
    s.companyName = OrDefault(TrimSpace(ReadText(ini, L"SETUP", L"COMPANYNAME", L"")), L"Tallowick");
    s.productVersion = OrDefault(TrimSpace(ReadText(ini, L"SETUP", L"VERSION", L"")), L"21.0");
    s.product64Bit = ReadInt(ini, L"SETUP", L"WOW64", 0);

    std::wstring folder;
    if (s.product64Bit == 1) {
        folder = ReadText(ini, L"SETUP", L"PATH", L"C:\\Program Files\\Tallowick\\Korvanix2024\\");
    } else if (s.os64Bit == 1) {
        folder = ReadText(ini, L"x64", L"SETUP_DEST", L"C:\\Program Files (x86)\\Tallowick\\Korvanix2024");
    } else {
        folder = ReadText(ini, L"x86", L"SETUP_DEST", L"C:\\Program Files\\Tallowick\\Korvanix2024");
    }
    s.targetFolder = CleanFolderValue(folder);

    s.languageName = ReadText(ini, L"RES", L"LANGUAGE", L"");
    s.languageCode = ToLowerText(s.languageName);
    s.languageId = LanguageIdFor(s.languageCode);
    s.netTest = ReadInt(ini, L"RES", L"NetTest", 0);

    ReadPackageList(ini, s);

    s.classicWorkspace = ReadInt(ini, L"SETUP", L"CLASSIC", 0);
    s.numValue = ReadInt(ini, L"SETUP", L"NUM", 1);
    int red = ReadInt(ini, L"SETUP", L"TEXTCLRR", 0);
    int green = ReadInt(ini, L"SETUP", L"TEXTCLRG", 0);
    int blue = ReadInt(ini, L"SETUP", L"TEXTCLRB", 0);
    s.textColour = PackTextColour(red, green, blue);
    s.beta = ReadInt(ini, L"SETUP", L"BETA", 0);

    s.migrateFolderName = ReadText(ini, L"MigrateCustomSettings", L"MIGRATEFOLDERNAME", L"");
    s.migratePrevious = ReadText(ini, L"MigrateCustomSettings", L"MIGRATEPREVIOUS", L"");
    s.migrateExport = ReadText(ini, L"MigrateCustomSettings", L"EXPORT", L"");
    s.migrateImport = ReadText(ini, L"MigrateCustomSettings", L"IMPORT", L"");
    s.migrateReset = ReadText(ini, L"MigrateCustomSettings", L"RESET", L"");
    s.migrateVersion = ReadText(ini, L"MigrateCustomSettings", L"VERSION", L"");

    s.globalServer = ReadText(ini, L"InfoCollection", L"GlobalServer", L"");
    s.channel = ReadText(ini, L"InfoCollection", L"Channel", L"0000");

    s.setupFolder += L"\\";
    s.privacyPolicyPath = s.setupFolder + ReadText(ini, L"SETUP", L"PrivacyPolicy", L"");
    s.systemRequirementsPath = s.setupFolder + ReadText(ini, L"SETUP", L"SystemRequire", L"");
    s.licenceAgreementPath = s.setupFolder + ReadText(ini, L"SETUP", L"LicenseAgree", L"");
    return true;
}

bool ReadSetupConfig() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return ReadSetupConfigFor(path, Session());
}

}  // namespace korv
