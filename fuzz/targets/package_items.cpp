// A package's "package" text as the install job's package loop and the
// copy-progress page's step count see it: the items, what each is, the
// spreadsheet-table package for each product and Office bitness, and the
// steps counted.
#include "FuzzSupport.h"
#include "config/NameRules.h"
#include "engine/PackageItems.h"

using namespace korv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring list = fuzz::TextFromInput(data, size);
    const std::vector<std::wstring> items = SplitPackageItems(list);

    // The items are the list again, with at most one trailing ";" dropped.
    std::wstring joined;
    for (size_t i = 0; i < items.size(); ++i) {
        FUZZ_CHECK(!items[i].empty());
        if (i + 1 < items.size()) {
            FUZZ_CHECK(items[i].find(L';') == std::wstring::npos);
        } else if (items[i].find(L';') != std::wstring::npos) {
            FUZZ_CHECK(items[i].front() == L';');
        }
        joined += (i == 0 ? L"" : L";") + items[i];
    }
    FUZZ_CHECK(joined == list || joined + L";" == list);

    const int steps = CountPackageSteps(list);
    FUZZ_CHECK(steps >= 1);
    FUZZ_CHECK(static_cast<size_t>(steps) <= (items.empty() ? 1 : items.size()));

    for (const std::wstring& item : items) {
        const PackageItemKind kind = ClassifyPackageItem(item);
        // An item the plan runs stays in files\ or Msi\: nothing in it can
        // name another folder, a drive or a stream.
        const bool plain = IsPlainName(item);
        if (plain) {
            FUZZ_CHECK(item.find_first_of(L"\\/:") == std::wstring::npos && item.find(L"..") == std::wstring::npos);
        }
        FUZZ_CHECK((kind == PackageItemKind::kProgram) ==
                   (item.size() >= 4 && item.compare(item.size() - 4, 4, L".exe") == 0));
        for (int product64Bit = 0; product64Bit <= 1; ++product64Bit) {
            for (int office64Bit = 0; office64Bit <= 1; ++office64Bit) {
                const std::wstring chosen = SpreadsheetTableItem(item, product64Bit, office64Bit);
                FUZZ_CHECK(chosen.size() == item.size());
                FUZZ_CHECK(!plain || IsPlainName(chosen));
                if (product64Bit == 0 && office64Bit == 1) {
                    FUZZ_CHECK(chosen.find(L"x86") == std::wstring::npos);
                } else if (product64Bit == 1 && office64Bit == 0) {
                    FUZZ_CHECK(chosen.find(L"x64") == std::wstring::npos);
                } else {
                    FUZZ_CHECK(chosen == item);
                }
            }
        }
    }
    return 0;
}
