// The advertisement reply's \uXXXX escapes, decoded before the reply is
// read: any text the service (or anyone on the way) may send.
#include "FuzzSupport.h"
#include "online/UnicodeEscapes.h"

using namespace korv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring text = fuzz::TextFromInput(data, size);
    const std::wstring decoded = DecodeUnicodeEscapes(text);
    // Each escape is six code units that become one; nothing else changes.
    FUZZ_CHECK(decoded.size() <= text.size());
    FUZZ_CHECK((text.size() - decoded.size()) % 5 == 0);
    if (text.find(L"\\u") == std::wstring::npos) {
        FUZZ_CHECK(decoded == text);
    }
    return 0;
}
