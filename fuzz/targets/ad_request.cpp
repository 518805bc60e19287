// The signed lookup's form: the signature text and the body built from any
// parameter names and values (the values come from Setup.ini).
#include "FuzzSupport.h"
#include "online/AdRequest.h"

using namespace korv;

namespace {

size_t Count(const std::wstring& text, wchar_t c) {
    size_t n = 0;
    for (wchar_t x : text) {
        n += x == c ? 1 : 0;
    }
    return n;
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

    size_t ampersands = 0;
    for (const auto& [name, value] : params) {
        ampersands += Count(name, L'&') + Count(value, L'&');
    }
    const std::wstring body = FormBody(params);
    // One "&" between each two parameters, unless trailing ones were dropped
    // with the empty values that ended the body.
    FUZZ_CHECK(Count(body, L'&') <= ampersands + params.size() - 1);
    FUZZ_CHECK(body.empty() || body.back() != L'&');
    return 0;
}
