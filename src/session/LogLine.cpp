#include "session/LogLine.h"

#include "framework/DecimalText.h"

namespace korv {

namespace {

void AppendCodePoint(std::string& out, unsigned long c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

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

std::string ToUtf8(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        // wchar_t is UTF-16 on Windows and UTF-32 on Linux: both forms are read.
        unsigned long c = static_cast<unsigned long>(text[i]) & 0x1FFFFFul;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            const unsigned long low = static_cast<unsigned long>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendCodePoint(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            c = 0xFFFD;
        }
        AppendCodePoint(out, c);
    }
    return out;
}

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
    return ToUtf8(line);
}

std::wstring DefaultLogFileName(const LogClock& time) {
    return L"KorvanixSetup_" + CompactDate(time) + L"_" + Digits(time.hour, 2) + Digits(time.minute, 2) +
           Digits(time.second, 2) + L".log";
}

std::wstring CompactDate(const LogClock& time) {
    return Digits(time.year, 4) + Digits(time.month, 2) + Digits(time.day, 2);
}

}  // namespace korv
