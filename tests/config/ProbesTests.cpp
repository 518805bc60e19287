#include <gtest/gtest.h>

#include "config/Probes.h"
#include "support/RegistrySandbox.h"
#include "support/TempFolder.h"

using namespace korv;
using korv::test::RegistrySandbox;
using korv::test::TempFolder;

namespace {

const std::wstring kNdp = L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP";

// The smallest file ReadImageBits accepts: a DOS header pointing at a PE
// signature and a file header with the given machine type.
std::string ImageHeaders(WORD machine, DWORD peOffset = 0x80) {
    std::string bytes(peOffset + 4 + 20, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) {
        bytes[60 + i] = static_cast<char>((peOffset >> (8 * i)) & 0xFF);
    }
    bytes.replace(peOffset, 4, std::string("PE\0\0", 4));
    bytes[peOffset + 4] = static_cast<char>(machine & 0xFF);
    bytes[peOffset + 5] = static_cast<char>(machine >> 8);
    return bytes;
}

std::wstring OwnProgramPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

}  // namespace

TEST(Probes, ArchitectureDecision) {
    EXPECT_TRUE(IsArchitecture64Bit(PROCESSOR_ARCHITECTURE_AMD64));
    EXPECT_TRUE(IsArchitecture64Bit(PROCESSOR_ARCHITECTURE_IA64));
    EXPECT_FALSE(IsArchitecture64Bit(PROCESSOR_ARCHITECTURE_INTEL));
    EXPECT_FALSE(IsArchitecture64Bit(PROCESSOR_ARCHITECTURE_ARM64));
}

TEST(Probes, PickDotNetVersion) {
    struct Case {
        std::vector<std::wstring> found;
        std::wstring expected;
    };
    const Case cases[] = {
        {{L"v2.0.50727"}, L"3.5"},
        {{L"4.0.30319", L"4.8.04084"}, L"4.8"},
        {{L"v3.5", L"4.7.03190"}, L"4.7"},
        {{L"v2.0.50727", L"v3.0", L"v3.5"}, L"3.5"},
        {{L"4.5.51209"}, L"4.5"},
        {{}, L""},
        {{L"v"}, L""},
    };
    for (const Case& c : cases) {
        std::wstring joined;
        for (const auto& f : c.found) joined += f + L" ";
        EXPECT_EQ(PickDotNetVersion(c.found), c.expected) << std::string(joined.begin(), joined.end());
    }
    EXPECT_EQ(DotNetShortCode(L"4.8"), L"48");
    EXPECT_EQ(DotNetShortCode(L"3.5"), L"35");
    EXPECT_EQ(DotNetShortCode(L"2.0"), L"");
}

TEST(Probes, DotNetVersionsFromTheRegistry) {
    struct Case {
        const char* id;
        std::vector<std::pair<std::wstring, std::wstring>> keys;  // subkey path under NDP, Version ("" = none)
        std::wstring expected;
    };
    const Case cases[] = {
        {"2.0 only", {{L"v2.0.50727", L""}}, L"3.5"},
        {"4.0 Client and 4.8 Full", {{L"v4\\Client", L"4.0.30319"}, {L"v4\\Full", L"4.8.04084"}}, L"4.8"},
        {"3.5 and 4.7 Full", {{L"v3.5", L""}, {L"v4\\Full", L"4.7.03190"}}, L"4.7"},
        {"1.1 only", {{L"v1.1.4322", L""}}, L""},
        {"no v in name", {{L"CDF", L""}}, L""},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kNdp);
        for (const auto& [path, version] : c.keys) {
            RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kNdp + L"\\" + path);
            if (!version.empty()) {
                RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, kNdp + L"\\" + path, L"Version", version);
            }
        }
        InstallSession s;
        s.dotNetVersion = L"stale";
        EXPECT_EQ(DetectDotNetVersion(s), !c.expected.empty()) << c.id;
        EXPECT_EQ(s.dotNetVersion, c.expected) << c.id;
    }
}

TEST(Probes, ImageBitsFromPeHeaders) {
    TempFolder folder(L"pe");
    folder.Write(L"x86.exe", ImageHeaders(IMAGE_FILE_MACHINE_I386));
    folder.Write(L"ia64.exe", ImageHeaders(IMAGE_FILE_MACHINE_IA64, 0x40));
    folder.Write(L"arm.exe", ImageHeaders(IMAGE_FILE_MACHINE_ARMNT));
    folder.Write(L"short.exe", "MZ");
    folder.Write(L"far.exe", ImageHeaders(IMAGE_FILE_MACHINE_I386).substr(0, 0x84));

    struct Case {
        std::wstring path;
        bool ok;
        int bits;
    };
    const Case cases[] = {
        {OwnProgramPath(), true, 64},  // this test program is a real x64 image
        {folder / L"x86.exe", true, 32},
        {folder / L"ia64.exe", true, 64},
        {folder / L"arm.exe", true, -1},
        {folder / L"short.exe", false, 0},
        {folder / L"far.exe", false, 0},
        {folder / L"missing.exe", false, 0},
    };
    for (const Case& c : cases) {
        int bits = 0;
        EXPECT_EQ(ReadImageBits(c.path, bits), c.ok) << std::string(c.path.begin(), c.path.end());
        if (c.ok) {
            EXPECT_EQ(bits, c.bits) << std::string(c.path.begin(), c.path.end());
        }
    }
}

TEST(Probes, OfficeBitnessFromTheRegisteredExcel) {
    const std::wstring appPaths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe";
    TempFolder office32(L"off32");
    office32.Write(L"excel.exe", ImageHeaders(IMAGE_FILE_MACHINE_I386));
    TempFolder office64(L"off64");
    CopyFileW(OwnProgramPath().c_str(), (office64 / L"excel.exe").c_str(), FALSE);

    struct Case {
        const char* id;
        const wchar_t* curVer;  // null: no CurVer key
        std::wstring folder;    // empty: no App Paths entry
        bool decided;
        int office64Bit;  // the field starts at 7 to show "unchanged"
    };
    const Case cases[] = {
        {"64-bit Excel", L"Excel.Application.16", office64.Path(), true, 1},
        {"32-bit Excel, folder with backslash", L"Excel.Application.16", office32.Path() + L"\\", true, 0},
        {"CurVer without a dot", L"Excel", office32.Path(), true, 0},
        {"no CurVer", nullptr, office64.Path(), false, 7},
        {"no App Paths", L"Excel.Application.16", L"", false, 7},
        {"folder gone", L"Excel.Application.16", office64.Path() + L"\\gone", false, 7},
    };
    for (const Case& c : cases) {
        RegistrySandbox sandbox;
        if (c.curVer) {
            RegistrySandbox::SetString(HKEY_CLASSES_ROOT, L"Excel.Application\\CurVer", nullptr, c.curVer);
        }
        if (!c.folder.empty()) {
            RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, appPaths, L"Path", c.folder);
        }
        Session().office64Bit = 7;
        EXPECT_EQ(DetectOfficeBitness(), c.decided) << c.id;
        EXPECT_EQ(Session().office64Bit, c.office64Bit) << c.id;
    }
    Session().Reset();
}

TEST(Probes, WindowsVersionValues) {
    RegistrySandbox sandbox;
    const std::wstring key = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, key, L"CurrentVersion", L"6.3");
    RegistrySandbox::SetString(HKEY_LOCAL_MACHINE, key, L"ProductName", L"Windows 10 Pro");
    EXPECT_EQ(ReadWindowsVersionValue(L"CurrentVersion"), L"6.3");
    EXPECT_EQ(ReadWindowsVersionValue(L"ProductName"), L"Windows 10 Pro");
    EXPECT_EQ(ReadWindowsVersionValue(L"CSDVersion"), L"");
}
