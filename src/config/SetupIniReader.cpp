#include "config/SetupIniReader.h"

#include "config/NameRules.h"
#include "config/ValueText.h"
#include "framework/DecimalText.h"

namespace korv {

namespace {

std::wstring OrDefault(const std::wstring& value, const wchar_t* fallback) {
    return value.empty() ? std::wstring(fallback) : value;
}

}  // namespace

std::vector<PackageRecord> ReadPackageRecords(const IniValues& ini) {
    std::vector<PackageRecord> records;
    const int count = ini.Number(L"packnum", L"count", 0);
    if (count <= 0 || count > kMaxPackageCount) {
        return records;
    }
    records.resize(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        const std::wstring section = L"sub" + fw::DecimalText(i);
        PackageRecord& record = records[static_cast<size_t>(i - 1)];
        record.name = ini.Text(section.c_str(), L"name", L"");
        record.description = ini.Text(section.c_str(), L"description", L"");
        record.package = ini.Text(section.c_str(), L"package", L"");
        record.check = ini.Number(section.c_str(), L"check", 0);
        record.enable = ini.Number(section.c_str(), L"enable", 1);
        record.removeFlag = false;
        record.showFlag = ini.Number(section.c_str(), L"showFlag", 0);
    }
    return records;
}

SetupIniValues ReadSetupIni(const IniValues& ini, int os64Bit) {
    SetupIniValues v;
    v.companyName = OrDefault(TrimSpace(ini.Text(L"SETUP", L"COMPANYNAME", L"")), L"Tallowick");
    v.productVersion = OrDefault(TrimSpace(ini.Text(L"SETUP", L"VERSION", L"")), L"21.0");
    v.product64Bit = ini.Number(L"SETUP", L"WOW64", 0);

    std::wstring folder;
    if (v.product64Bit == 1) {
        folder = ini.Text(L"SETUP", L"PATH", L"C:\\Program Files\\Tallowick\\Korvanix2024\\");
    } else if (os64Bit == 1) {
        folder = ini.Text(L"x64", L"SETUP_DEST", L"C:\\Program Files (x86)\\Tallowick\\Korvanix2024");
    } else {
        folder = ini.Text(L"x86", L"SETUP_DEST", L"C:\\Program Files\\Tallowick\\Korvanix2024");
    }
    v.targetFolder = CleanFolderValue(folder);

    v.languageName = ini.Text(L"RES", L"LANGUAGE", L"");
    v.netTest = ini.Number(L"RES", L"NetTest", 0);

    v.packages = ReadPackageRecords(ini);

    v.classicWorkspace = ini.Number(L"SETUP", L"CLASSIC", 0);
    v.numValue = ini.Number(L"SETUP", L"NUM", 1);
    const int red = ini.Number(L"SETUP", L"TEXTCLRR", 0);
    const int green = ini.Number(L"SETUP", L"TEXTCLRG", 0);
    const int blue = ini.Number(L"SETUP", L"TEXTCLRB", 0);
    v.textColour = PackTextColour(red, green, blue);
    v.beta = ini.Number(L"SETUP", L"BETA", 0);

    v.migrateFolderName = ini.Text(L"MigrateCustomSettings", L"MIGRATEFOLDERNAME", L"");
    v.migratePrevious = ini.Text(L"MigrateCustomSettings", L"MIGRATEPREVIOUS", L"");
    v.migrateExport = ini.Text(L"MigrateCustomSettings", L"EXPORT", L"");
    v.migrateImport = ini.Text(L"MigrateCustomSettings", L"IMPORT", L"");
    v.migrateReset = ini.Text(L"MigrateCustomSettings", L"RESET", L"");
    v.migrateVersion = ini.Text(L"MigrateCustomSettings", L"VERSION", L"");

    v.globalServer = ini.Text(L"InfoCollection", L"GlobalServer", L"");
    v.channel = ini.Text(L"InfoCollection", L"Channel", L"0000");

    v.privacyPolicy = ini.Text(L"SETUP", L"PrivacyPolicy", L"");
    v.systemRequire = ini.Text(L"SETUP", L"SystemRequire", L"");
    v.licenseAgree = ini.Text(L"SETUP", L"LicenseAgree", L"");
    v.unusableKey = UnusableSetupIniKey(v);
    return v;
}

std::wstring UnusableSetupIniKey(const SetupIniValues& v) {
    // Names joined to a folder (the common files folder, the programs menu)
    // must stay in it; values pasted into the configuration program's or the
    // migration tool's command line must keep to their field.
    const auto optionalName = [](const std::wstring& name) { return name.empty() || IsPlainName(name); };
    struct Check {
        const wchar_t* section;
        const wchar_t* key;
        bool usable;
    };
    const wchar_t* const migrate = L"MigrateCustomSettings";
    const Check checks[] = {
        {L"SETUP", L"COMPANYNAME", IsPlainName(v.companyName) && IsQuotedFieldValue(v.companyName)},
        {L"SETUP", L"VERSION", IsUnquotedFieldValue(v.productVersion)},
        {L"RES", L"LANGUAGE", IsUnquotedFieldValue(v.languageName)},
        {migrate, L"MIGRATEFOLDERNAME", optionalName(v.migrateFolderName)},
        {migrate, L"MIGRATEPREVIOUS", optionalName(v.migratePrevious)},
        {migrate, L"EXPORT", optionalName(v.migrateExport)},
        {migrate, L"IMPORT", optionalName(v.migrateImport)},
        {migrate, L"RESET", optionalName(v.migrateReset)},
        {migrate, L"VERSION", IsUnquotedFieldValue(v.migrateVersion)},
    };
    for (const Check& check : checks) {
        if (!check.usable) {
            return L"[" + std::wstring(check.section) + L"] " + check.key;
        }
    }
    return {};
}

}  // namespace korv
