// install.log entries as the uninstaller reads them: every entry of the
// grammar built from fuzzed values, in three kinds of code page (one byte
// per character, two bytes for characters beyond Latin-1, and one that
// cannot convert), and the bytes one entry adds to the file.
#include "FuzzSupport.h"
#include "engine/LogEntries.h"

using namespace korv;

namespace {

// Latin-1, with "?" for what it cannot hold (the way a Windows single-byte
// code page replaces by its default character).
std::string SingleByte(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    }
    return out;
}

// Characters beyond Latin-1 as a lead byte and a trail byte from the ranges
// of the East Asian double-byte code pages (never a CR or an LF).
std::string DoubleByte(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0x81 + (c >> 8) % 0x7E));
            out.push_back(static_cast<char>(0x40 + (c & 0xFF) % 0xBF));
        }
    }
    return out;
}

std::string Nothing(const std::wstring&) {
    return {};
}

void CheckEntry(const std::wstring& text) {
    const CodePageConverter converters[] = {SingleByte, DoubleByte, Nothing};
    for (const CodePageConverter& convert : converters) {
        std::string bytes;
        const bool fits = FrameLogEntry(text, convert, bytes);
        if (!fits) {
            FUZZ_CHECK(bytes.empty());
            continue;
        }
        // One line: the line break the file has always had, CR CR LF,
        // and no other CR or LF that would start an entry of its own.
        FUZZ_CHECK(text.size() <= kMaxLogEntryChars);
        FUZZ_CHECK(bytes.compare(0, 3, "\r\r\n") == 0);
        FUZZ_CHECK(bytes.find_first_of("\r\n", 3) == std::string::npos);
        FUZZ_CHECK(bytes.size() <= 3 + kMaxLogEntryBytes);
        FUZZ_CHECK(bytes.substr(3) == convert(text));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::wstring a = fuzz::ConsumeText(input, 600);
    const std::wstring b = fuzz::ConsumeText(input, 600);
    const std::wstring c = fuzz::ConsumeText(input, 600);
    CheckEntry(a);
    CheckEntry(FolderCreatedEntry(a));
    CheckEntry(FolderCreatedDoneEntry(a));
    CheckEntry(ShortcutLogEntry(a, b));
    CheckEntry(RegStrLogEntry(a, b, c));
    CheckEntry(RegDwordLogEntry(a, b, c));
    CheckEntry(UninstallerWrittenEntry(a));
    CheckEntry(UninstallerFileEntry());
    return 0;
}
