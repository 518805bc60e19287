#include "session/LogLine.h"

#include "framework/DecimalText.h"
#include "session/Utf8Text.h"

namespace korv {

namespace {

// Digits with leading zeros; out-of-range fields still give digits only.
std::wstring Digits(int value, int width) {
    if (value < 0) {
        value = 0;
    }
    std::wstring text = fw::DecimalText(value);
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<size_t>(width) - text.size(), L'0');
    }
    return text;
}

}  // namespace

std::string LogLineBytes(const LogClock& time, const std::wstring& text) {
    std::wstring line = Digits(time.year, 4) + L"-" + Digits(time.month, 2) + L"-" + Digits(time.day, 2) + L" " +
                        Digits(time.hour, 2) + L":" + Digits(time.minute, 2) + L":" + Digits(time.second, 2) + L"." +
                        Digits(time.millisecond, 3) + L"  ";
    line.reserve(line.size() + text.size() + 2);
    for (wchar_t c : text) {
        if (c == L'\r') {
            line += L"<CR>";
        } else if (c == L'\n') {
            line += L"<LF>";
        } else {
            line += c;
        }
    }
    line += L"\r\n";
    return Utf8FromWide(line);
}

std::wstring DefaultLogFileName(const LogClock& time, const std::wstring& unique) {
    return L"KorvanixSetup_" + CompactDate(time) + L"_" + Digits(time.hour, 2) + Digits(time.minute, 2) +
           Digits(time.second, 2) + L"_" + unique + L".log";
}

std::wstring CompactDate(const LogClock& time) {
    return Digits(time.year, 4) + Digits(time.month, 2) + Digits(time.day, 2);
}

}  // namespace korv
