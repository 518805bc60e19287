// The signed lookup's form: the signature text and the body built from any
// parameter names and values (the values come from Setup.ini).
#include "FuzzSupport.h"
#include "online/AdRequest.h"
#include "session/Utf8Text.h"

#include <algorithm>

using namespace korv;

namespace {

size_t Count(const std::wstring& text, wchar_t c) {
    size_t n = 0;
    for (wchar_t x : text) {
        n += x == c ? 1 : 0;
    }
    return n;
}

// What the service's form parser makes of an encoded field.
std::string Decoded(const std::wstring& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        FUZZ_CHECK(text[i] < 0x80);
        if (text[i] == L'+') {
            bytes += ' ';
        } else if (text[i] == L'%') {
            FUZZ_CHECK(i + 2 < text.size());
            bytes += static_cast<char>(std::stoi(std::string(text.begin() + i + 1, text.begin() + i + 3), nullptr, 16));
            i += 2;
        } else {
            bytes += static_cast<char>(text[i]);
        }
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::wstring path = fuzz::ConsumeText(input, 64);
    AdParams params = MakeAdLookupParams(fuzz::ConsumeText(input, 64), fuzz::ConsumeText(input, 64),
                                         fuzz::ConsumeText(input, 64), fuzz::ConsumeText(input, 64));
    const int extra = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < extra; ++i) {
        std::wstring name = fuzz::ConsumeText(input, 32);
        params[name] = fuzz::ConsumeText(input, 256);
    }

    const std::wstring signed_text = SignatureText(path, params);
    FUZZ_CHECK(signed_text.compare(0, path.size() + 1, path + L"?") == 0);

    // Form-encoded, whatever the values hold: one "&" between each two
    // parameters and one "=" in each, and every value decodes to its UTF-8.
    const std::wstring body = FormBody(params);
    FUZZ_CHECK(Count(body, L'&') == params.size() - 1);
    FUZZ_CHECK(Count(body, L'=') == params.size());
    size_t start = 0;
    for (const auto& [name, value] : params) {
        const size_t end = std::min(body.find(L'&', start), body.size());
        const std::wstring part = body.substr(start, end - start);
        const size_t equals = part.find(L'=');
        FUZZ_CHECK(equals != std::wstring::npos);
        FUZZ_CHECK(Decoded(part.substr(0, equals)) == Utf8FromWide(name));
        FUZZ_CHECK(Decoded(part.substr(equals + 1)) == Utf8FromWide(value));
        start = end + 1;
    }
    return 0;
}
