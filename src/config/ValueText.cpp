#include "config/ValueText.h"

namespace korv {

std::wstring TrimSpace(const std::wstring& text) {
    const wchar_t* space = L" \t\r\n\v\f";
    size_t first = text.find_first_not_of(space);
    if (first == std::wstring::npos) {
        return {};
    }
    size_t last = text.find_last_not_of(space);
    return text.substr(first, last - first + 1);
}

std::wstring CleanFolderValue(const std::wstring& value) {
    std::wstring folder = TrimSpace(value);
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

std::wstring LanguageIdFor(const std::wstring& code) {
    struct Row {
        const wchar_t* code;
        const wchar_t* id;
    };
    static const Row kTable[] = {
        {L"zh_cn", L"2052"}, {L"korvanix_cn", L"2052"}, {L"zh_tw", L"1028"}, {L"korvanix_tw", L"1028"},
        {L"fr_fr", L"1036"}, {L"mireda", L"1041"},      {L"ja_jp", L"1041"}, {L"de_de", L"1031"},
        {L"it_it", L"1040"}, {L"ko_kr", L"1042"},       {L"es_es", L"3082"},
    };
    for (const Row& row : kTable) {
        if (code == row.code) {
            return row.id;
        }
    }
    return L"1033";
}

unsigned long PackTextColour(int red, int green, int blue) {
    const auto part = [](int value) { return static_cast<unsigned long>(value) & 0xFFul; };
    return part(red) | (part(green) << 8) | (part(blue) << 16);
}

}  // namespace korv
