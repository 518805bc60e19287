#include "config/MediumVerification.h"

#include <windows.h>
#include <bcrypt.h>

#include <memory>

#include "config/MediumManifest.h"
#include "MediumTrustedKeys.h"

namespace korv {

namespace {

constexpr unsigned long long kMaxManifestBytes = 16ull << 20;

// Held from verification to the end of the run: a file that is open without
// FILE_SHARE_WRITE or FILE_SHARE_DELETE cannot be changed or replaced.
std::vector<HANDLE>& HeldFiles() {
    static std::vector<HANDLE> held;
    return held;
}

HANDLE OpenDenyingWrites(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

class Sha256 {
public:
    Sha256() {
        if (BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0) < 0 ||
            BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0) < 0) {
            hash_ = nullptr;
        }
    }
    ~Sha256() {
        if (hash_ != nullptr) {
            BCryptDestroyHash(hash_);
        }
        if (algorithm_ != nullptr) {
            BCryptCloseAlgorithmProvider(algorithm_, 0);
        }
    }
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    bool Add(const void* data, ULONG size) {
        return hash_ != nullptr && BCryptHashData(hash_, static_cast<PUCHAR>(const_cast<void*>(data)), size, 0) >= 0;
    }
    bool Finish(unsigned char (&digest)[32]) { return hash_ != nullptr && BCryptFinishHash(hash_, digest, 32, 0) >= 0; }

private:
    BCRYPT_ALG_HANDLE algorithm_ = nullptr;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
};

bool ReadSmallFile(const std::wstring& path, std::string& bytes, bool& exists) {
    HANDLE file = OpenDenyingWrites(path);
    exists = file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_NOT_FOUND;
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) <= kMaxManifestBytes;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() || (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                               read == bytes.size());
    }
    // The manifest is read once, into memory: what was verified is what is used.
    CloseHandle(file);
    return ok;
}

bool SignedByTrustedKey(const std::string& manifest, const unsigned char (&signature)[64]) {
    unsigned char digest[32] = {};
    Sha256 hash;
    if (!hash.Add(manifest.data(), static_cast<ULONG>(manifest.size())) || !hash.Finish(digest)) {
        return false;
    }
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) < 0) {
        return false;
    }
    bool trusted = false;
    for (unsigned k = 0; k < kTrustedMediumKeyCount && !trusted; ++k) {
        struct {
            BCRYPT_ECCKEY_BLOB header;
            unsigned char point[64];
        } blob = {{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32}, {}};
        for (int i = 0; i < 64; ++i) {
            blob.point[i] = kTrustedMediumKeys[k][i];
        }
        BCRYPT_KEY_HANDLE key = nullptr;
        if (BCryptImportKeyPair(algorithm, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key, reinterpret_cast<PUCHAR>(&blob),
                                sizeof(blob), 0) >= 0) {
            trusted = BCryptVerifySignature(key, nullptr, digest, sizeof(digest),
                                            const_cast<PUCHAR>(signature), 64, 0) >= 0;
            BCryptDestroyKey(key);
        }
    }
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return trusted;
}

// Hashes an open file from its start; false when it cannot be read whole.
bool HashFile(HANDLE file, unsigned long long& size, unsigned char (&digest)[32]) {
    constexpr DWORD kChunk = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    Sha256 hash;
    size = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer.get(), kChunk, &read, nullptr)) {
            return false;
        }
        if (read == 0) {
            return hash.Finish(digest);
        }
        if (!hash.Add(buffer.get(), read)) {
            return false;
        }
        size += read;
    }
}

void CheckListedFile(const std::wstring& folder, const ManifestEntry& entry, MediumReport& report) {
    MediumFileCheck check;
    check.path = entry.path;
    check.expected = HexText(entry.sha256, 32);
    HANDLE file = OpenDenyingWrites(folder + entry.path);
    if (file == INVALID_HANDLE_VALUE) {
        check.state = MediumFileState::kMissing;
    } else {
        HeldFiles().push_back(file);
        unsigned long long size = 0;
        unsigned char digest[32] = {};
        if (!HashFile(file, size, digest)) {
            check.state = MediumFileState::kMissing;
        } else {
            report.bytes += size;
            check.found = HexText(digest, 32);
            check.state = size != entry.size         ? MediumFileState::kOtherSize
                          : check.found != check.expected ? MediumFileState::kOtherHash
                                                          : MediumFileState::kMatched;
        }
    }
    report.files.push_back(check);
}

}  // namespace

bool BuildRequiresSignedMedium() {
    return kRequireSignedMedium;
}

MediumReport VerifyMedium(const std::wstring& folder, const std::vector<std::wstring>& planned, bool requireSigned) {
    MediumReport report;
    std::string manifest;
    bool exists = false;
    if (!ReadSmallFile(folder + L"Setup.manifest", manifest, exists)) {
        report.state = exists ? MediumState::kBadSignature : requireSigned ? MediumState::kNotSigned
                                                                           : MediumState::kUnsigned;
        report.refusedFile = exists || requireSigned ? L"Setup.manifest" : L"";
        return report;
    }
    std::string signatureText;
    unsigned char signature[64] = {};
    if (!ReadSmallFile(folder + L"Setup.manifest.sig", signatureText, exists) ||
        !ParseManifestSignature(signatureText, signature) || !SignedByTrustedKey(manifest, signature)) {
        report.state = MediumState::kBadSignature;
        report.refusedFile = L"Setup.manifest.sig";
        return report;
    }
    std::vector<ManifestEntry> entries;
    size_t badLine = 0;
    if (!ParseMediumManifest(manifest, entries, badLine)) {
        report.state = MediumState::kBadManifest;
        report.refusedFile = L"Setup.manifest";
        return report;
    }
    report.state = MediumState::kVerified;
    for (const ManifestEntry& entry : entries) {
        CheckListedFile(folder, entry, report);
    }
    for (const std::wstring& path : planned) {
        if (FindManifestEntry(entries, path) == nullptr &&
            GetFileAttributesW((folder + path).c_str()) != INVALID_FILE_ATTRIBUTES) {
            MediumFileCheck check;
            check.path = path;
            check.state = MediumFileState::kNotListed;
            report.files.push_back(check);
        }
    }
    for (const MediumFileCheck& check : report.files) {
        if (check.state != MediumFileState::kMatched) {
            report.state = MediumState::kFileRefused;
            report.refusedFile = check.path;
            break;
        }
    }
    return report;
}

void ReleaseMediumFiles() {
    for (HANDLE file : HeldFiles()) {
        CloseHandle(file);
    }
    HeldFiles().clear();
}

}  // namespace korv
