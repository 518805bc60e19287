// Setup.ini files as the Windows profile functions parse them: seeded
// mutations of a medium's file (ANSI, UTF-16 and UTF-8 with their byte-order
// marks), each read the way start-up reads it. The parsing is Wine's own, so
// this loop runs under Wine rather than under libFuzzer; the decisions on
// the values it yields are fuzzed on Linux (fuzz/targets/setup_ini_values).
//
// In the test suite the loop runs a fixed number of inputs from a fixed
// seed. scripts/fuzz.sh runs it for longer:
//   KORV_MUTATION_SECONDS=120 [KORV_MUTATION_SEED=n] config_tests.exe --gtest_filter=SetupIniMutation.*
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "config/SetupConfig.h"
#include "support/TempFolder.h"

using namespace korv;
using korv::test::TempFolder;

namespace {

const char kMediumIni[] =
    "; Korvanix 2024 installation medium.\r\n[SETUP]\r\nCOMPANYNAME=Tallowick\r\nVERSION=21.0\r\nWOW64=1\r\n"
    "PATH=C:\\Program Files\\Tallowick\\Korvanix2024\\\r\nCLASSIC=0\r\nNUM=1\r\nTEXTCLRR=51\r\nTEXTCLRG=51\r\n"
    "TEXTCLRB=51\r\nBETA=0\r\nPrivacyPolicy=PrivacyPolicy.html\r\nSystemRequire=SystemRequirements.html\r\n"
    "LicenseAgree=LicenseAgreement.rtf\r\n[x64]\r\nSETUP_DEST=C:\\Program Files (x86)\\Tallowick\\Korvanix2024\r\n"
    "[RES]\r\nLANGUAGE=en_us\r\nNetTest=0\r\n[packnum]\r\ncount=3\r\n[sub1]\r\nname=IFC Beta\r\n"
    "description=Exchange building models through IFC files.\r\npackage=korv_ifc.exe\r\ncheck=0\r\nenable=1\r\n"
    "showFlag=1\r\n[sub2]\r\nname=AutoSheetgrid\r\npackage=AutoSheetgrid_x64.msi\r\ncheck=1\r\n[sub3]\r\n"
    "name=Data Exchange\r\npackage=korv_dataexchange.exe;DataExchange.msi\r\ncheck=0\r\n"
    "[MigrateCustomSettings]\r\nMIGRATEFOLDERNAME=Korvanix 2024 Settings\r\nVERSION=2024\r\n"
    "[InfoCollection]\r\nGlobalServer=http://127.0.0.1:8642\r\nChannel=1001\r\n";

std::string Utf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

std::vector<std::string> Seeds() {
    const std::string ansi = kMediumIni;
    return {ansi, Utf16(ansi), "\xEF\xBB\xBF" + ansi};
}

// Pieces the mutations insert: the file's own syntax, byte-order marks,
// counts at the edges and values longer than any buffer.
const std::vector<std::string>& Tokens() {
    static const std::vector<std::string> tokens = {
        "[", "]", "=", "\r\n", "\n", "\r", ";", std::string(1, '\0'), "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF",
        "[sub1]\r\npackage=", "[packnum]\r\ncount=1000\r\n", "count=-1\r\n", "count=2147483647\r\n",
        "[InfoCollection]\r\nGlobalServer=", "\"", " \t ", std::string(300, 'x'), std::string(5000, ';'),
    };
    return tokens;
}

std::string Mutate(std::string text, std::mt19937& random) {
    auto pick = [&](size_t bound) { return bound == 0 ? 0 : static_cast<size_t>(random() % bound); };
    const int steps = 1 + static_cast<int>(pick(8));
    for (int i = 0; i < steps; ++i) {
        const size_t at = pick(text.size() + 1);
        switch (pick(6)) {
        case 0:  // flip a byte
            if (!text.empty()) {
                text[pick(text.size())] ^= static_cast<char>(1 + pick(255));
            }
            break;
        case 1:  // insert a token
            text.insert(at, Tokens()[pick(Tokens().size())]);
            break;
        case 2:  // delete a range
            text.erase(at, pick(64));
            break;
        case 3:  // repeat a range
            text.insert(at, text.substr(pick(text.size() + 1), pick(256)));
            break;
        case 4:  // cut the end (an odd byte count for the UTF-16 seeds)
            text.resize(pick(text.size() + 1));
            break;
        default:  // a random byte
            text.insert(at, 1, static_cast<char>(pick(256)));
            break;
        }
    }
    return text;
}

unsigned long EnvNumber(const wchar_t* name, unsigned long fallback) {
    wchar_t value[32] = {};
    DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
    return length > 0 && length < std::size(value) ? std::wcstoul(value, nullptr, 10) : fallback;
}

// The value as one read with a buffer larger than the file: what reading in
// a growing buffer must give.
std::wstring ReadAtOnce(const std::wstring& ini, const wchar_t* section, const wchar_t* key, size_t fileBytes) {
    std::wstring buffer(fileBytes + 16, L'\0');
    DWORD length = GetPrivateProfileStringW(section, key, L"", buffer.data(), static_cast<DWORD>(buffer.size()),
                                            ini.c_str());
    buffer.resize(length);
    return buffer;
}

// A file that broke a check, kept beside the test program (the temporary
// folder goes with the test) so it can be read again and become a test case.
std::wstring KeepFailingInput(const std::string& file, unsigned long seed, unsigned long input) {
    wchar_t module[MAX_PATH * 4] = {};
    DWORD length = GetModuleFileNameW(nullptr, module, static_cast<DWORD>(std::size(module)));
    std::wstring path(module, length);
    path = path.substr(0, path.find_last_of(L'\\')) + L"\\setup-ini-mutation-" + std::to_wstring(seed) + L"-" +
           std::to_wstring(input) + L".ini";
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(out);
    return path;
}

}  // namespace

TEST(SetupIniMutation, EveryMutatedFileIsReadWhole) {
    const unsigned long seconds = EnvNumber(L"KORV_MUTATION_SECONDS", 0);
    const unsigned long seed = EnvNumber(L"KORV_MUTATION_SEED", 20240);
    const unsigned long inputs = seconds > 0 ? ~0ul : 150;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::mt19937 random(seed);
    const std::vector<std::string> seeds = Seeds();
    TempFolder folder(L"ini-mutation");

    unsigned long tried = 0;
    for (; tried < inputs; ++tried) {
        if (seconds > 0 && std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        const std::string file = Mutate(seeds[tried % seeds.size()], random);
        // A folder per input: the profile functions keep recently read
        // files, and a new name is never taken for an old one.
        const std::wstring medium = folder / (L"m" + std::to_wstring(tried));
        ASSERT_TRUE(CreateDirectoryW(medium.c_str(), nullptr));
        const std::wstring ini = medium + L"\\Setup.ini";
        folder.Write(L"m" + std::to_wstring(tried) + L"\\Setup.ini", file);

        InstallSession s;
        s.os64Bit = 1;
        // A mutated name or value may be refused; everything is read either way.
        const SetupIniState state = ReadSetupConfigFile(medium + L"\\Setup.exe", s);
        ASSERT_TRUE(state == SetupIniState::kRead || state == SetupIniState::kUnusable) << "input " << tried;
        EXPECT_LE(s.packages.size(), static_cast<size_t>(kMaxPackageCount)) << "input " << tried;
        EXPECT_EQ(s.packageCount, static_cast<int>(s.packages.size())) << "input " << tried;
        EXPECT_FALSE(s.companyName.empty()) << "input " << tried;
        EXPECT_FALSE(s.productVersion.empty()) << "input " << tried;
        EXPECT_LE(s.textColour, 0xFFFFFFul) << "input " << tried;
        EXPECT_EQ(s.setupFolder, medium + L"\\") << "input " << tried;
        // Wine's profile parser reads one byte past the end of a UTF-16 file
        // with an odd byte count, so the last value of such a file is not
        // the same from one read to the next; the others are compared.
        const bool utf16 = file.size() >= 2 && ((file[0] == '\xFF' && file[1] == '\xFE') ||
                                                (file[0] == '\xFE' && file[1] == '\xFF'));
        if (!utf16 || file.size() % 2 == 0) {
            EXPECT_EQ(s.globalServer, ReadAtOnce(ini, L"InfoCollection", L"GlobalServer", file.size()))
                << "input " << tried;
            if (!s.packages.empty()) {
                EXPECT_EQ(s.packages[0].package, ReadAtOnce(ini, L"sub1", L"package", file.size()))
                    << "input " << tried;
            }
        }
        if (HasFailure()) {
            const std::wstring kept = KeepFailingInput(file, seed, tried);
            ADD_FAILURE() << "input " << tried << " of seed " << seed << " is kept in "
                          << std::string(kept.begin(), kept.end());
            break;
        }
        TempFolder::RemoveTree(medium);
    }
    std::printf("SetupIniMutation: %lu inputs tried (seed %lu)\n", tried, seed);
}
