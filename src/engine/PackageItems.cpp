#include "engine/PackageItems.h"

#include "engine/ProductData.h"

namespace korv {

namespace {

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

std::vector<std::wstring> SplitPackageItems(const std::wstring& list) {
    std::vector<std::wstring> items;
    size_t start = 0;
    while (start < list.size()) {
        size_t separator = list.find(L';', start);
        if (separator == std::wstring::npos || separator == start) {
            items.push_back(list.substr(start));
            break;
        }
        items.push_back(list.substr(start, separator - start));
        start = separator + 1;
    }
    return items;
}

PackageItemKind ClassifyPackageItem(const std::wstring& item) {
    if (item.size() >= 4 && item.compare(item.size() - 4, 4, L".exe") == 0) {
        return PackageItemKind::kProgram;
    }
    if (item.find(product::kSpreadsheetTableMarker) != std::wstring::npos) {
        return PackageItemKind::kSpreadsheetTable;
    }
    return PackageItemKind::kMsiPackage;
}

std::wstring SpreadsheetTableItem(const std::wstring& item, int product64Bit, int office64Bit) {
    std::wstring result = item;
    if (product64Bit == 0 && office64Bit == 1) {
        ReplaceAll(result, L"x86", L"x64");
    } else if (product64Bit == 1 && office64Bit == 0) {
        ReplaceAll(result, L"x64", L"x86");
    }
    return result;
}

int CountPackageSteps(const std::wstring& list) {
    int parts = 0;
    size_t start = 0;
    for (;;) {
        size_t separator = list.find(L';', start);
        size_t end = separator == std::wstring::npos ? list.size() : separator;
        if (end == start) {
            break;  // an empty part ends the count
        }
        ++parts;
        if (separator == std::wstring::npos) {
            break;
        }
        start = separator + 1;
    }
    return parts > 0 ? parts : 1;
}

}  // namespace korv
