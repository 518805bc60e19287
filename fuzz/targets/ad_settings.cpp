// The advertisement service's JSON reply as the lookup reads it: any bytes
// the server sends, as the text the HTTP client hands over.
#include "FuzzSupport.h"
#include "online/AdSettingsReader.h"

using namespace korv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring reply = fuzz::TextFromInput(data, size);
    std::vector<AdRecord> records;
    AdLookupError error;
    const bool read = ParseAdSettings(reply, records, &error);
    if (read) {
        // A successful reply leaves the error record as it was.
        FUZZ_CHECK(error.code == 0);
        FUZZ_CHECK(error.msg.empty());
    } else {
        // A refusal carries the service's code; an unreadable reply -1.
        FUZZ_CHECK(error.code != 0);
    }
    // Without an error record the answer is the same.
    std::vector<AdRecord> again;
    FUZZ_CHECK(ParseAdSettings(reply, again, nullptr) == read);
    FUZZ_CHECK(again.size() == records.size());

    FUZZ_CHECK(DecimalValue(reply) == DecimalValue(reply));
    return 0;
}
