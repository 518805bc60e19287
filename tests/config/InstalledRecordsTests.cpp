#include <gtest/gtest.h>

#include "config/InstalledRecords.h"
#include "support/RegistrySandbox.h"
#include "support/ScriptedAnswerer.h"
#include "support/TempFolder.h"

using namespace korv;
using korv::test::RegistrySandbox;

namespace {

const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Korvanix2024_en_us";

InstallSession MediumSession() {
    InstallSession s;
    s.productName = L"Korvanix2024";
    s.languageCode = L"en_us";
    s.languageId = L"1033";
    s.companyName = L"Tallowick";
    s.targetFolder = L"C:\\Medium\\Default";
    s.numValue = 3;
    s.netTest = 1;
    s.maintenanceMode = kModeUninstall;
    return s;
}

}  // namespace

TEST(InstalledRecords, KeyPathsByBuild) {
    struct Case {
        int beta;
        bool own;
        const wchar_t* suffix;
    };
    const Case cases[] = {{0, true, L""}, {0, false, L" beta"}, {1, true, L" beta"}, {1, false, L""},
                          {2, true, L""},  {2, false, L""}};
    for (const Case& c : cases) {
        InstallSession s = MediumSession();
        s.beta = c.beta;
        EXPECT_EQ(UninstallKeyPath(s, c.own), kUninstall + c.suffix) << "beta=" << c.beta << " own=" << c.own;
    }
    EXPECT_EQ(SetupRecordKeyPath(L"Tallowick", L"Korvanix"), L"SOFTWARE\\Tallowick\\Korvanix\\Korvanix_Setup\\");
}

TEST(InstalledRecords, SetupRecordIsWrittenAndOverwrittenInPlace) {
    RegistrySandbox sandbox;
    InstallSession s = MediumSession();
    const std::wstring key = L"SOFTWARE\\Tallowick\\Korvanix\\Korvanix_Setup";
    ASSERT_TRUE(RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, key, L"other", L"kept"));

    WriteSetupRecord(s);
    EXPECT_EQ(s.productRegName, L"Korvanix");
    s.targetFolder = L"D:\\Second";
    s.numValue = 9;
    WriteSetupRecord(s);

    DWORD type = 0, number = 0;
    std::wstring text;
    ASSERT_TRUE(RegistrySandbox::Query(HKEY_LOCAL_MACHINE, key, L"path", type, text, number));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text, L"D:\\Second");
    ASSERT_TRUE(RegistrySandbox::Query(HKEY_LOCAL_MACHINE, key, L"language", type, text, number));
    EXPECT_EQ(text, L"1033");
    ASSERT_TRUE(RegistrySandbox::Query(HKEY_LOCAL_MACHINE, key, L"NUM", type, text, number));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(number, 9u);
    ASSERT_TRUE(RegistrySandbox::Query(HKEY_LOCAL_MACHINE, key, L"NetTest", type, text, number));
    EXPECT_EQ(number, 1u);
    ASSERT_TRUE(RegistrySandbox::Query(HKEY_LOCAL_MACHINE, key, L"other", type, text, number));
    EXPECT_EQ(text, L"kept");
}

TEST(InstalledRecords, SetupRecordThatCannotBeCreatedShowsNotice2003) {
    RegistrySandbox sandbox;
    test::ScriptedAnswerer answerer({{kTipOk, kChoiceOk}});
    InstallSession s = MediumSession();
    s.companyName = std::wstring(300, L'x');  // a key name the registry refuses
    WriteSetupRecord(s);
    ASSERT_EQ(answerer.Requests().size(), 1u);
    EXPECT_EQ(answerer.Requests()[0].kind, kTipNotice);
    EXPECT_EQ(answerer.Requests()[0].text, L"Error\xFF1AUnable to Create the registry information!");
    EXPECT_EQ(answerer.Requests()[0].owner, nullptr);
}

TEST(InstalledRecords, LookupDecidesFromPlatformAndLocation) {
    struct Case {
        const char* id;
        bool createKey;
        const wchar_t* platform;  // null: value absent
        const wchar_t* location;  // null: value absent
        int installed, installed64Bit, maintenanceMode;
        const wchar_t* targetFolder;
    };
    const Case cases[] = {
        {"no key", false, nullptr, nullptr, 0, 5, kModeInstall, L"C:\\Medium\\Default"},
        {"key without values", true, nullptr, nullptr, 0, 5, kModeInstall, L"C:\\Medium\\Default"},
        {"32-bit edition", true, L"x86", L"D:\\Korv", 1, 0, kModeUninstall, L"D:\\Korv"},
        {"64-bit edition", true, L"x64", L"D:\\Korv64", 1, 1, kModeUninstall, L"D:\\Korv64"},
        {"X86 in capitals is 64-bit", true, L"X86", L"D:\\K", 1, 1, kModeUninstall, L"D:\\K"},
        {"platform without location", true, L"x86", nullptr, 0, 0, kModeInstall, L"C:\\Medium\\Default"},
        {"location kept as read", true, L"x86", L"D:\\Spaced \\Korv\\", 1, 0, kModeUninstall,
         L"D:\\Spaced \\Korv\\"},
        {"network location", true, L"x64", L"\\\\srv\\apps\\Korv", 1, 1, kModeUninstall, L"\\\\srv\\apps\\Korv"},
        // A location that names no folder below a root is no installed copy:
        // maintenance would work on korv.exe and install.log in the root of
        // the current drive, or in whatever folder is current.
        {"empty location", true, L"x64", L"", 0, 1, kModeInstall, L"C:\\Medium\\Default"},
        {"drive root", true, L"x64", L"C:\\", 0, 1, kModeInstall, L"C:\\Medium\\Default"},
        {"drive root with a blank name", true, L"x64", L"C:\\ \\", 0, 1, kModeInstall, L"C:\\Medium\\Default"},
        {"share root", true, L"x64", L"\\\\srv\\apps\\", 0, 1, kModeInstall, L"C:\\Medium\\Default"},
        {"relative location", true, L"x64", L"Korv", 0, 1, kModeInstall, L"C:\\Medium\\Default"},
        {"location with a leading blank", true, L"x64", L" D:\\Korv", 0, 1, kModeInstall, L"C:\\Medium\\Default"},
        // The folder goes quoted into the configuration program's command
        // line: a quote would hand it a second TARGETDIR.
        {"location with a quote", true, L"x64", L"D:\\K\" TARGETDIR=\"C:\\Windows", 0, 1, kModeInstall,
         L"C:\\Medium\\Default"},
        {"location with a line break", true, L"x64", L"D:\\K\nX", 0, 1, kModeInstall, L"C:\\Medium\\Default"},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        if (c.createKey) {
            RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kUninstall);
        }
        if (c.platform) {
            RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kUninstall, L"Platform", c.platform);
        }
        if (c.location) {
            RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kUninstall, L"InstallLocation", c.location);
        }
        InstallSession s = MediumSession();
        s.installed = 7;
        s.installed64Bit = 5;
        LookupInstalledRecord(kUninstall, s);
        EXPECT_EQ(s.installed, c.installed) << c.id;
        EXPECT_EQ(s.installed64Bit, c.installed64Bit) << c.id;
        EXPECT_EQ(s.maintenanceMode, c.maintenanceMode) << c.id;
        EXPECT_EQ(s.targetFolder, c.targetFolder) << c.id;
    }
}

TEST(InstalledRecords, ValuesCountOnlyAsTerminatedStringsThatFit) {
    struct Case {
        const char* id;
        DWORD type;
        std::wstring data;   // written as is
        bool withTerminator;
        bool counts;
    };
    const Case cases[] = {
        {"REG_SZ", REG_SZ, L"x86", true, true},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, L"x86", true, true},
        {"REG_MULTI_SZ", REG_MULTI_SZ, std::wstring(L"x86\0", 4), true, true},
        {"unterminated", REG_SZ, L"x86", false, false},
        {"binary", REG_BINARY, L"x86", true, false},
        {"129 characters fit", REG_SZ, std::wstring(129, L'p'), true, true},
        {"130 characters do not", REG_SZ, std::wstring(130, L'p'), true, false},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        // The registry adds a forgotten terminator when a zero follows the
        // data in memory, so an unterminated value is written from a longer text.
        std::wstring memory = c.data + L"#";
        size_t bytes = (c.data.size() + (c.withTerminator ? 1 : 0)) * sizeof(wchar_t);
        if (c.withTerminator) memory = c.data;
        RegistrySandbox::SetRaw(HKEY_LOCAL_MACHINE, kUninstall, L"Platform", c.type, memory.c_str(), bytes);
        RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kUninstall, L"InstallLocation", L"D:\\K");
        InstallSession s = MediumSession();
        LookupInstalledRecord(kUninstall, s);
        EXPECT_EQ(s.installed, c.counts ? 1 : 0) << c.id;
    }
}

TEST(InstalledRecords, InstalledCopysPackageListReplacesTheMediums) {
    RegistrySandbox sandbox;
    test::TempFolder folder(L"inst");
    folder.Write(L"Setup.ini", "[packnum]\r\ncount=1\r\n[sub1]\r\nname=IFC Beta\r\ncheck=1\r\n");
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kUninstall + L" beta", L"Platform", L"x64");
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kUninstall + L" beta", L"InstallLocation", folder.Path());

    InstallSession s = MediumSession();
    s.beta = 1;
    s.packages.resize(4);
    s.packageCount = 4;
    LookupInstalledRecord(UninstallKeyPath(s, true), s);
    EXPECT_EQ(s.installed, 1);
    EXPECT_EQ(s.targetFolder, folder.Path());
    ASSERT_EQ(s.packageCount, 1);
    EXPECT_EQ(s.packages[0].name, L"IFC Beta");
    EXPECT_EQ(s.packages[0].check, 1);

    // The released build's lookup does not see the beta's record.
    InstallSession released = MediumSession();
    LookupInstalledRecord(UninstallKeyPath(released, true), released);
    EXPECT_EQ(released.installed, 0);
}
