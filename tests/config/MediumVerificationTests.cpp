// The manifest's text (table of cases) and the checks on a small medium
// signed with the demo key (its two files, manifest and signature below were
// written by tools/medium/sign-medium.py with keys/demo-medium-signing.pem).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "config/MediumManifest.h"
#include "config/MediumVerification.h"
#include "support/TempFolder.h"

namespace korv {
namespace {

const char kManifest[] =
    "Korvanix medium manifest 1\n"
    "fba13a37a73d657dc0f1e671f0dc714f9891dd4da15ec45bd2a6f83e0434648e 8 b.exe\n"
    "40fa264148fd4b9e9bea4447cc4504f68832044997ab4921af95356d05556031 14 Msi\\a.msi\n";
const char kSignature[] =
    "91ffe3a874b44ae3873a7bd6ce871cd98bbcdfb1993d68f73c7172849e5515e4"
    "c496ab5a1520a5fd50f535e6dcff7dfb5d4b7139ed187b5ada3307672b0ed61b\n";
// The same manifest signed with keys/tests-other-signing.pem, which no build trusts.
const char kOtherKeySignature[] =
    "e65f713d51ed148e0a5a8ba1828696be5c571cb5ddd20959b4787ab27d6ff51f"
    "5ef8d7a97a72b8805e5de75e982e541f5ddbf45d973dc404f3acbe52baf3296a\n";

TEST(MediumManifest, ReadsRowsAndRefusesWhatIsNotAManifest) {
    std::vector<ManifestEntry> entries;
    size_t badLine = 0;
    ASSERT_TRUE(ParseMediumManifest(kManifest, entries, badLine));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].path, L"Msi\\a.msi");
    EXPECT_EQ(entries[1].size, 14u);
    EXPECT_EQ(HexText(entries[1].sha256, 32), L"40fa264148fd4b9e9bea4447cc4504f68832044997ab4921af95356d05556031");
    ASSERT_NE(FindManifestEntry(entries, L"msi\\A.MSI"), nullptr);

    const std::string hash(64, 'a');
    struct Case {
        const char* id;
        std::string text;
        size_t badLine;
    } cases[] = {
        {"empty", "", 1},
        {"other first line", "Korvanix medium manifest 2\n", 1},
        {"short hash", "Korvanix medium manifest 1\n" + hash.substr(1) + " 1 a.exe\n", 2},
        {"not hex", "Korvanix medium manifest 1\n" + std::string(64, 'g') + " 1 a.exe\n", 2},
        {"no size", "Korvanix medium manifest 1\n" + hash + "  a.exe\n", 2},
        {"size not a number", "Korvanix medium manifest 1\n" + hash + " 1x a.exe\n", 2},
        {"size too long", "Korvanix medium manifest 1\n" + hash + " 12345678901234567890 a.exe\n", 2},
        {"no path", "Korvanix medium manifest 1\n" + hash + " 1 \n", 2},
        {"blank row", "Korvanix medium manifest 1\n\n", 2},
        {"absolute", "Korvanix medium manifest 1\n" + hash + " 1 \\a.exe\n", 2},
        {"drive", "Korvanix medium manifest 1\n" + hash + " 1 C:a.exe\n", 2},
        {"parent", "Korvanix medium manifest 1\n" + hash + " 1 Msi\\..\\..\\a.exe\n", 2},
        {"slash", "Korvanix medium manifest 1\n" + hash + " 1 Msi/a.exe\n", 2},
        {"listed twice", "Korvanix medium manifest 1\n" + hash + " 1 a.exe\n" + hash + " 2 A.EXE\n", 3},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(ParseMediumManifest(c.text, entries, badLine)) << c.id;
        EXPECT_EQ(badLine, c.badLine) << c.id;
        EXPECT_TRUE(entries.empty()) << c.id;
    }
    EXPECT_TRUE(ParseMediumManifest("Korvanix medium manifest 1\r\n" + hash + " 0 a b.exe\r\n", entries, badLine));
    EXPECT_EQ(entries.at(0).path, L"a b.exe");
}

TEST(MediumManifest, SignatureTextIs128HexDigits) {
    unsigned char signature[64] = {};
    EXPECT_TRUE(ParseManifestSignature(kSignature, signature));
    EXPECT_EQ(signature[0], 0x91);
    EXPECT_EQ(signature[63], 0x1b);
    EXPECT_FALSE(ParseManifestSignature(std::string(kSignature).substr(2), signature));
    EXPECT_FALSE(ParseManifestSignature(std::string(kSignature) + "00", signature));
    EXPECT_FALSE(ParseManifestSignature("", signature));
}

void Write(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

class SignedMedium : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW((folder_ / L"Msi").c_str(), nullptr);
        Write(folder_ / L"Msi\\a.msi", "package bytes\n");
        Write(folder_ / L"b.exe", "program\n");
        Write(folder_ / L"Setup.manifest", kManifest);
        Write(folder_ / L"Setup.manifest.sig", kSignature);
    }
    void TearDown() override { ReleaseMediumFiles(); }
    MediumReport Verify(const std::vector<std::wstring>& planned = {}, bool requireSigned = false) {
        ReleaseMediumFiles();
        return VerifyMedium(folder_.Path() + L"\\", planned, requireSigned);
    }
    test::TempFolder folder_{L"korv medium"};
};

TEST_F(SignedMedium, VerifiedAsSigned) {
    const MediumReport report = Verify({L"b.exe", L"Msi\\A.msi", L"files\\absent.exe"}, true);
    EXPECT_EQ(report.state, MediumState::kVerified);
    EXPECT_EQ(report.bytes, 22u);
    EXPECT_EQ(report.files.size(), 2u);
}

TEST_F(SignedMedium, RefusesWhatDiffersFromTheSignedList) {
    struct Case {
        const char* id;
        const wchar_t* file;
        const char* bytes;  // null: delete the file
        MediumState state;
        const wchar_t* refused;
        std::vector<std::wstring> planned;
    } cases[] = {
        {"one byte changed", L"Msi\\a.msi", "package bytes\r", MediumState::kFileRefused, L"Msi\\a.msi", {}},
        {"other size", L"b.exe", "program!\n", MediumState::kFileRefused, L"b.exe", {}},
        {"removed", L"b.exe", nullptr, MediumState::kFileRefused, L"b.exe", {}},
        {"planned, not listed", L"c.exe", "x", MediumState::kFileRefused, L"c.exe", {L"c.exe"}},
        {"manifest edited", L"Setup.manifest", "Korvanix medium manifest 1\n", MediumState::kBadSignature,
         L"Setup.manifest.sig", {}},
        {"another key", L"Setup.manifest.sig", kOtherKeySignature, MediumState::kBadSignature,
         L"Setup.manifest.sig", {}},
        {"no signature", L"Setup.manifest.sig", nullptr, MediumState::kBadSignature, L"Setup.manifest.sig", {}},
    };
    for (const Case& c : cases) {
        SetUp();
        if (c.bytes == nullptr) {
            DeleteFileW((folder_ / c.file).c_str());
        } else {
            Write(folder_ / c.file, c.bytes);
        }
        const MediumReport report = Verify(c.planned);
        EXPECT_EQ(report.state, c.state) << c.id;
        EXPECT_EQ(report.refusedFile, c.refused) << c.id;
        ReleaseMediumFiles();
        if (c.bytes == nullptr || std::wstring(c.file) == L"c.exe") {
            DeleteFileW((folder_ / c.file).c_str());
        }
    }
    // The hashes the log shows for a changed file.
    SetUp();
    Write(folder_ / L"Msi\\a.msi", "package bytes\r");
    const MediumReport report = Verify();
    ASSERT_EQ(report.files.size(), 2u);
    EXPECT_EQ(report.files[1].state, MediumFileState::kOtherHash);
    EXPECT_EQ(report.files[1].expected, L"40fa264148fd4b9e9bea4447cc4504f68832044997ab4921af95356d05556031");
    EXPECT_EQ(report.files[1].found.size(), 64u);
    EXPECT_NE(report.files[1].found, report.files[1].expected);
}

TEST_F(SignedMedium, UnsignedGoesOnUnlessASignedMediumIsRequired) {
    DeleteFileW((folder_ / L"Setup.manifest").c_str());
    DeleteFileW((folder_ / L"Setup.manifest.sig").c_str());
    EXPECT_EQ(Verify().state, MediumState::kUnsigned);
    const MediumReport required = Verify({}, true);
    EXPECT_EQ(required.state, MediumState::kNotSigned);
    EXPECT_EQ(required.refusedFile, L"Setup.manifest");
}

TEST_F(SignedMedium, VerifiedFilesCannotBeWrittenOrDeletedUntilReleased) {
    ASSERT_EQ(Verify().state, MediumState::kVerified);
    const std::wstring package = folder_ / L"Msi\\a.msi";
    HANDLE writer = CreateFileW(package.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(DeleteFileW(package.c_str()));
    // Readers, as the package runner and the Windows Installer are, still open it.
    HANDLE reader = CreateFileW(package.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    CloseHandle(reader);

    ReleaseMediumFiles();
    writer = CreateFileW(package.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    CloseHandle(writer);
}

}  // namespace
}  // namespace korv
