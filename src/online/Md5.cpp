#include "online/Md5.h"

#include <windows.h>
#include <bcrypt.h>

#include "session/Utf8Text.h"

namespace korv {

namespace {

class AlgorithmHandle {
public:
    AlgorithmHandle() {
        if (BCryptOpenAlgorithmProvider(&handle_, BCRYPT_MD5_ALGORITHM, nullptr, 0) < 0) {
            handle_ = nullptr;
        }
    }
    ~AlgorithmHandle() {
        if (handle_ != nullptr) {
            BCryptCloseAlgorithmProvider(handle_, 0);
        }
    }
    AlgorithmHandle(const AlgorithmHandle&) = delete;
    AlgorithmHandle& operator=(const AlgorithmHandle&) = delete;
    BCRYPT_ALG_HANDLE Get() const { return handle_; }

private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class HashHandle {
public:
    explicit HashHandle(BCRYPT_ALG_HANDLE algorithm) {
        if (algorithm == nullptr || BCryptCreateHash(algorithm, &handle_, nullptr, 0, nullptr, 0, 0) < 0) {
            handle_ = nullptr;
        }
    }
    ~HashHandle() {
        if (handle_ != nullptr) {
            BCryptDestroyHash(handle_);
        }
    }
    HashHandle(const HashHandle&) = delete;
    HashHandle& operator=(const HashHandle&) = delete;
    BCRYPT_HASH_HANDLE Get() const { return handle_; }

private:
    BCRYPT_HASH_HANDLE handle_ = nullptr;
};

}  // namespace

std::wstring Md5Hex(const std::wstring& text) {
    std::string bytes = Utf8FromWide(text);
    AlgorithmHandle algorithm;
    HashHandle hash(algorithm.Get());
    unsigned char digest[16] = {};
    if (hash.Get() == nullptr ||
        BCryptHashData(hash.Get(), reinterpret_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(bytes.size()), 0) < 0 ||
        BCryptFinishHash(hash.Get(), digest, sizeof(digest), 0) < 0) {
        return {};
    }
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring hex;
    for (unsigned char byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

}  // namespace korv
