#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <string>

#include "framework/DecimalText.h"

// Every caller used std::to_wstring before: the text must be the same for
// each integer type a caller hands in, at the edges of its range as well.
TEST(DecimalText, GivesTheTextOfToWstringForEveryIntegerTypeAtItsEdges) {
    struct Row {
        const char* id;
        std::wstring got;
        std::wstring expected;
    };
    const Row rows[] = {
        {"int 0", fw::DecimalText(0), std::to_wstring(0)},
        {"int -1", fw::DecimalText(-1), std::to_wstring(-1)},
        {"int max", fw::DecimalText(INT_MAX), std::to_wstring(INT_MAX)},
        {"int min", fw::DecimalText(INT_MIN), std::to_wstring(INT_MIN)},
        {"long long min", fw::DecimalText(LLONG_MIN), std::to_wstring(LLONG_MIN)},
        {"long long max", fw::DecimalText(LLONG_MAX), std::to_wstring(LLONG_MAX)},
        {"unsigned long long max", fw::DecimalText(ULLONG_MAX), std::to_wstring(ULLONG_MAX)},
        {"DWORD max", fw::DecimalText(DWORD{0xFFFFFFFF}), std::to_wstring(DWORD{0xFFFFFFFF})},
        {"LONG -7", fw::DecimalText(LONG{-7}), std::to_wstring(LONG{-7})},
        {"UINT 3028", fw::DecimalText(UINT{3028}), std::to_wstring(UINT{3028})},
        {"ULONGLONG tick", fw::DecimalText(ULONGLONG{123456789012345}), std::to_wstring(ULONGLONG{123456789012345})},
        {"bool true", fw::DecimalText(true), std::to_wstring(true)},
        {"bool false", fw::DecimalText(false), std::to_wstring(false)},
        {"short min", fw::DecimalText(static_cast<short>(SHRT_MIN)), std::to_wstring(static_cast<short>(SHRT_MIN))},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.got, row.expected) << row.id;
    }
}
