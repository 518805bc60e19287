// Integers as decimal text, for command lines, INI section names and folder
// names. std::to_wstring formats through the C runtime's wide printf, which
// drags the whole printf engine (floating point included) into every
// program for the sake of a few digits; this writes the digits itself. No
// platform header: the fuzzed decision code uses it too.
#pragma once

#include <iterator>
#include <string>
#include <type_traits>

namespace fw {

// The same text std::to_wstring gives: an optional '-' and the digits, no
// leading zeros. bool reads as 0 or 1, as it does there.
template <class Integer, std::enable_if_t<std::is_integral_v<Integer>, int> = 0>
std::wstring DecimalText(Integer value) {
    unsigned long long magnitude = static_cast<unsigned long long>(value);
    bool negative = false;
    if constexpr (std::is_signed_v<Integer>) {
        if (value < 0) {
            negative = true;
            magnitude = 0ULL - magnitude;  // well defined for the smallest value as well
        }
    }
    wchar_t digits[24];
    wchar_t* end = digits + std::size(digits);
    wchar_t* first = end;
    do {
        *--first = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
        *--first = L'-';
    }
    return std::wstring(first, end);
}

}  // namespace fw
