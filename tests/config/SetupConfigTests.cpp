#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "config/SetupConfig.h"
#include "support/TempFolder.h"

using namespace korv;
using korv::test::TempFolder;

namespace {

// Reads an ini text laid beside a program path in a fresh folder.
struct ReadResult {
    bool ok;
    InstallSession session;
};

ReadResult ReadIni(const std::string& ini, int os64Bit = 1) {
    TempFolder folder(L"cfg");
    folder.Write(L"Setup.ini", ini);
    ReadResult result{false, {}};
    result.session.os64Bit = os64Bit;
    result.ok = ReadSetupConfigFor(folder / L"Setup.exe", result.session);
    return result;
}

}  // namespace

TEST(SetupConfig, EmptyFileGivesTheDefaults) {
    ReadResult r = ReadIni("[SETUP]\r\n");
    ASSERT_TRUE(r.ok);
    const InstallSession& s = r.session;
    EXPECT_EQ(s.productName, L"Korvanix2024");
    EXPECT_EQ(s.companyName, L"Tallowick");
    EXPECT_EQ(s.productVersion, L"21.0");
    EXPECT_EQ(s.product64Bit, 0);
    EXPECT_EQ(s.targetFolder, L"C:\\Program Files (x86)\\Tallowick\\Korvanix2024");
    EXPECT_EQ(s.languageName, L"");
    EXPECT_EQ(s.languageId, L"1033");
    EXPECT_EQ(s.packageCount, 0);
    EXPECT_TRUE(s.packages.empty());
    EXPECT_EQ(s.numValue, 1);
    EXPECT_EQ(s.textColour, RGB(0, 0, 0));
    EXPECT_EQ(s.channel, L"0000");
    EXPECT_EQ(s.globalServer, L"");
    ASSERT_FALSE(s.setupFolder.empty());
    EXPECT_EQ(s.setupFolder.back(), L'\\');
    EXPECT_EQ(s.licenceAgreementPath, L"") << "a document that is not configured has no path";
}

TEST(SetupConfig, KeysAndTheirTreatments) {
    struct Case {
        const char* id;
        std::string ini;
        int os64Bit;
        std::wstring InstallSession::*field;
        std::wstring expected;
    };
    const Case cases[] = {
        {"trimmed company", "[SETUP]\r\nCOMPANYNAME=  Acme Ltd  \r\n", 1, &InstallSession::companyName, L"Acme Ltd"},
        {"version", "[setup]\r\nversion=24.1\r\n", 1, &InstallSession::productVersion, L"24.1"},
        {"64-bit medium, no PATH", "[SETUP]\r\nWOW64=1\r\n", 1, &InstallSession::targetFolder,
         L"C:\\Program Files\\Tallowick\\Korvanix2024"},
        {"64-bit medium, PATH cleaned", "[SETUP]\r\nWOW64=1\r\nPATH= D:\\Apps\\Korv\\\\ \r\n", 1,
         &InstallSession::targetFolder, L"D:\\Apps\\Korv"},
        {"32-bit medium, 64-bit system", "[x64]\r\nSETUP_DEST=E:\\K64\\\r\n[x86]\r\nSETUP_DEST=E:\\K86\r\n", 1,
         &InstallSession::targetFolder, L"E:\\K64"},
        {"32-bit medium, 32-bit system", "[x64]\r\nSETUP_DEST=E:\\K64\r\n[x86]\r\nSETUP_DEST=E:\\K86\\\r\n", 0,
         &InstallSession::targetFolder, L"E:\\K86"},
        {"32-bit system default", "", 0, &InstallSession::targetFolder, L"C:\\Program Files\\Tallowick\\Korvanix2024"},
        {"language name kept", "[RES]\r\nLANGUAGE=ZH_CN\r\n", 1, &InstallSession::languageName, L"ZH_CN"},
        {"language code lowered", "[RES]\r\nLANGUAGE=ZH_CN\r\n", 1, &InstallSession::languageCode, L"zh_cn"},
        {"ZH_CN", "[RES]\r\nLANGUAGE=ZH_CN\r\n", 1, &InstallSession::languageId, L"2052"},
        {"Korvanix_CN", "[RES]\r\nLANGUAGE=Korvanix_CN\r\n", 1, &InstallSession::languageId, L"2052"},
        {"mireda", "[RES]\r\nLANGUAGE=Mireda\r\n", 1, &InstallSession::languageId, L"1041"},
        {"pt_br", "[RES]\r\nLANGUAGE=pt_br\r\n", 1, &InstallSession::languageId, L"1033"},
        {"channel", "[InfoCollection]\r\nGlobalServer=http://ads.example\r\nChannel=0815\r\n", 1,
         &InstallSession::channel, L"0815"},
        {"no channel key", "[InfoCollection]\r\nGlobalServer=http://ads.example\r\n", 1, &InstallSession::channel,
         L"0000"},
        {"migration", "[MigrateCustomSettings]\r\nMIGRATEFOLDERNAME=Migrate\r\n", 1,
         &InstallSession::migrateFolderName, L"Migrate"},
        {"migration version", "[MigrateCustomSettings]\r\nVERSION=2023\r\n", 1, &InstallSession::migrateVersion,
         L"2023"},
        {"text read whole", "[SETUP]\r\nCOMPANYNAME=" + std::string(300, 'c') + "\r\n", 1,
         &InstallSession::companyName, std::wstring(300, L'c')},
    };
    for (const Case& c : cases) {
        ReadResult r = ReadIni(c.ini, c.os64Bit);
        ASSERT_TRUE(r.ok) << c.id;
        EXPECT_EQ(r.session.*c.field, c.expected) << c.id;
    }
}

TEST(SetupConfig, NumbersColourAndDocuments) {
    ReadResult r = ReadIni(
        "[SETUP]\r\nWOW64=1\r\nCLASSIC=1\r\nNUM=7\r\nTEXTCLRR=300\r\nTEXTCLRG=93\r\nTEXTCLRB=255\r\nBETA=1\r\n"
        "PrivacyPolicy=docs\\privacy.html\r\nSystemRequire=req.html\r\nLicenseAgree=licence.rtf\r\n"
        "[RES]\r\nNetTest=1\r\n");
    ASSERT_TRUE(r.ok);
    const InstallSession& s = r.session;
    EXPECT_EQ(s.product64Bit, 1);
    EXPECT_EQ(s.classicWorkspace, 1);
    EXPECT_EQ(s.numValue, 7);
    EXPECT_EQ(s.textColour, RGB(44, 93, 255));
    EXPECT_EQ(s.beta, 1);
    EXPECT_EQ(s.netTest, 1);
    EXPECT_EQ(s.privacyPolicyPath, s.setupFolder + L"docs\\privacy.html");
    EXPECT_EQ(s.systemRequirementsPath, s.setupFolder + L"req.html");
    EXPECT_EQ(s.licenceAgreementPath, s.setupFolder + L"licence.rtf");
}

TEST(SetupConfig, PackageListWithMissingSectionsAndBadCounts) {
    ReadResult two = ReadIni(
        "[packnum]\r\ncount=2\r\n[sub1]\r\nname=IFC Beta\r\ndescription=IFC import\r\npackage=ifc.exe;ifc.msi\r\n"
        "check=1\r\nenable=0\r\nshowFlag=1\r\n");
    ASSERT_EQ(two.session.packageCount, 2);
    ASSERT_EQ(two.session.packages.size(), 2u);
    const PackageRecord& first = two.session.packages[0];
    EXPECT_EQ(first.name, L"IFC Beta");
    EXPECT_EQ(first.description, L"IFC import");
    EXPECT_EQ(first.package, L"ifc.exe;ifc.msi");
    EXPECT_EQ(first.check, 1);
    EXPECT_EQ(first.enable, 0);
    EXPECT_EQ(first.showFlag, 1);
    EXPECT_FALSE(first.removeFlag);
    const PackageRecord& defaults = two.session.packages[1];
    EXPECT_EQ(defaults.name, L"");
    EXPECT_EQ(defaults.check, 0);
    EXPECT_EQ(defaults.enable, 1);
    EXPECT_EQ(defaults.showFlag, 0);

    for (const char* count : {"0", "-3", "abc", "1001", "2147483647"}) {
        ReadResult r = ReadIni(std::string("[packnum]\r\ncount=") + count + "\r\n[sub1]\r\nname=x\r\n");
        EXPECT_EQ(r.session.packageCount, 0) << "count=" << count;
        EXPECT_TRUE(r.session.packages.empty()) << "count=" << count;
    }
}

TEST(SetupConfig, ReadingAgainReplacesThePreviousList) {
    TempFolder folder(L"cfg");
    folder.Write(L"a.ini", "[packnum]\r\ncount=3\r\n");
    folder.Write(L"b.ini", "[packnum]\r\ncount=1\r\n[sub1]\r\nname=only\r\n");
    InstallSession s;
    ReadPackageList(folder / L"a.ini", s);
    EXPECT_EQ(s.packages.size(), 3u);
    ReadPackageList(folder / L"b.ini", s);
    ASSERT_EQ(s.packages.size(), 1u);
    EXPECT_EQ(s.packages[0].name, L"only");
    ReadPackageList(folder / L"missing.ini", s);
    EXPECT_EQ(s.packageCount, 0);
    EXPECT_TRUE(s.packages.empty());
}

// Values pass no fixed buffer: a package list longer than 259 characters
// keeps its last packages, and values of every length around the buffer's
// growth steps come back whole.
TEST(SetupConfig, ValuesAreReadWhole) {
    std::string list;
    std::wstring expectedList;
    for (int i = 1; i <= 50; ++i) {
        char item[16];
        snprintf(item, sizeof item, "%sn%02d.exe", i == 1 ? "" : ";", i);
        list += item;
        expectedList += std::wstring(item, item + strlen(item));
    }
    ReadResult r = ReadIni("[packnum]\r\ncount=1\r\n[sub1]\r\npackage=" + list + "\r\n");
    ASSERT_EQ(r.session.packages.size(), 1u);
    EXPECT_EQ(r.session.packages[0].package, expectedList);
    EXPECT_EQ(r.session.packages[0].package.size(), 399u);

    for (size_t length : {259u, 260u, 261u, 519u, 520u, 1039u, 100000u}) {
        ReadResult v = ReadIni("[InfoCollection]\r\nGlobalServer=" + std::string(length, 'g') + "\r\n");
        EXPECT_EQ(v.session.globalServer, std::wstring(length, L'g')) << length << " characters";
    }
}

TEST(SetupConfig, Utf16FileWithByteOrderMark) {
    std::wstring text = L"\xFEFF[SETUP]\r\nCOMPANYNAME=Tallowick \x00C9tudes\r\n[RES]\r\nLANGUAGE=de_DE\r\n";
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    ReadResult r = ReadIni(bytes);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.session.companyName, L"Tallowick \x00C9tudes");
    EXPECT_EQ(r.session.languageId, L"1031");

    // A UTF-16 file cut in the middle of its last character reads as far as
    // it is whole.
    ReadResult odd = ReadIni(bytes + std::string("x"));
    ASSERT_TRUE(odd.ok);
    EXPECT_EQ(odd.session.companyName, L"Tallowick \x00C9tudes");
}

TEST(SetupConfig, MissingFileSetsOnlyTheFolderWithoutBackslash) {
    TempFolder folder(L"cfg");
    InstallSession s;
    EXPECT_FALSE(ReadSetupConfigFor(folder / L"Setup.exe", s));
    EXPECT_EQ(s.setupFolder, folder.Path());
    EXPECT_EQ(s.companyName, L"");
    EXPECT_EQ(s.channel, L"");
}

TEST(SetupConfig, Decisions) {
    EXPECT_EQ(CleanFolderValue(L" \tC:\\A\\B\\\\\\ "), L"C:\\A\\B");
    EXPECT_EQ(CleanFolderValue(L"\\\\"), L"");
    EXPECT_EQ(PackTextColour(300, 256, -1), RGB(44, 0, 255));
    EXPECT_EQ(LanguageIdFor(L"ZH_CN"), L"1033");  // the table compares lower-cased codes only
    EXPECT_EQ(LanguageIdFor(L"es_es"), L"3082");
    EXPECT_EQ(LanguageIdFor(L""), L"1033");
}
