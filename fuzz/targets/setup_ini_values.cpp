// Setup.ini as the readers see it: every key the medium's file is read for,
// each either missing (its fallback) or holding whatever text or number the
// fuzzer gives, in the order the readers ask. The profile functions' own
// parsing of the file is exercised under Wine (SetupIniMutation in
// tests/config).
#include "FuzzSupport.h"
#include "config/NameRules.h"
#include "config/SetupIniReader.h"
#include "config/ValueText.h"

using namespace korv;

namespace {

class FuzzedIni final : public IniValues {
public:
    explicit FuzzedIni(FuzzedDataProvider& input) : input_(input) {}

    std::wstring Text(const wchar_t*, const wchar_t*, const wchar_t* fallback) const override {
        if (input_.remaining_bytes() == 0 || !input_.ConsumeBool()) {
            return fallback;
        }
        return fuzz::ConsumeText(input_, 1024);
    }

    int Number(const wchar_t*, const wchar_t*, int fallback) const override {
        if (input_.remaining_bytes() == 0 || !input_.ConsumeBool()) {
            return fallback;
        }
        // Mostly small counts, so the package sections get read.
        return input_.ConsumeBool() ? input_.ConsumeIntegralInRange<int>(-2, 40) : input_.ConsumeIntegral<int>();
    }

private:
    FuzzedDataProvider& input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int os64Bit = input.ConsumeIntegralInRange<int>(0, 1);
    const FuzzedIni ini(input);
    const SetupIniValues v = ReadSetupIni(ini, os64Bit);

    FUZZ_CHECK(!v.companyName.empty() && v.companyName == TrimSpace(v.companyName));
    FUZZ_CHECK(!v.productVersion.empty() && v.productVersion == TrimSpace(v.productVersion));
    FUZZ_CHECK(v.targetFolder.empty() || v.targetFolder.back() != L'\\');
    FUZZ_CHECK(v.targetFolder.empty() || v.targetFolder.front() == TrimSpace(v.targetFolder).front());
    FUZZ_CHECK(v.textColour <= 0xFFFFFFul);
    // Every value that is kept may be joined to a folder or pasted into a
    // command line; one refused names its key.
    FUZZ_CHECK(v.unusableKey == UnusableSetupIniKey(v));
    if (v.unusableKey.empty()) {
        FUZZ_CHECK(IsPlainName(v.companyName) && IsQuotedFieldValue(v.companyName));
        FUZZ_CHECK(IsUnquotedFieldValue(v.productVersion) && IsUnquotedFieldValue(v.languageName));
        FUZZ_CHECK(v.migrateFolderName.empty() || IsPlainName(v.migrateFolderName));
    } else {
        FUZZ_CHECK(v.unusableKey.front() == L'[');
    }
    FUZZ_CHECK(v.packages.size() <= static_cast<size_t>(kMaxPackageCount));
    for (const PackageRecord& record : v.packages) {
        FUZZ_CHECK(!record.removeFlag);
    }
    LanguageIdFor(v.languageName);
    return 0;
}
