// Setup.manifest and Setup.manifest.sig as read from a medium: any bytes.
// A manifest that is accepted lists only paths that stay inside the medium,
// each once.
#include "FuzzSupport.h"
#include "config/MediumManifest.h"

using namespace korv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<ManifestEntry> entries;
    size_t badLine = 0;
    if (ParseMediumManifest(bytes, entries, badLine)) {
        FUZZ_CHECK(badLine == 0);
        for (const ManifestEntry& entry : entries) {
            FUZZ_CHECK(IsMediumRelativePath(entry.path));
            FUZZ_CHECK(FindManifestEntry(entries, entry.path) == &entry);
        }
    } else {
        FUZZ_CHECK(badLine >= 1 && entries.empty());
    }
    unsigned char signature[64] = {};
    if (ParseManifestSignature(bytes, signature)) {
        FUZZ_CHECK(size >= 128 && size <= 130);
    }
    return 0;
}
