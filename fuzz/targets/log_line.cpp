// The diagnostic log's lines: whatever text an event carries (a message, a
// command line, a path), its line is one line of valid UTF-8 with its time
// stamp, and a plan step keeps its number and action in front.
#include "FuzzSupport.h"
#include "engine/PlanText.h"
#include "session/LogLine.h"
#include "session/MessageWords.h"
#include "session/Utf8Text.h"

using namespace korv;

namespace {

// RFC 3629 UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool IsUtf8(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 9;
        if (extra == 9 || i + extra >= bytes.size()) {
            return false;
        }
        unsigned long point = extra == 0 ? c : c & (0x3F >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            point = (point << 6) | (next & 0x3F);
        }
        const unsigned long least[] = {0, 0x80, 0x800, 0x10000};
        if (point < least[extra] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    LogClock clock;
    clock.year = input.ConsumeIntegralInRange(0, 9999);
    clock.month = input.ConsumeIntegralInRange(1, 12);
    clock.day = input.ConsumeIntegralInRange(1, 31);
    clock.hour = input.ConsumeIntegralInRange(0, 23);
    clock.minute = input.ConsumeIntegralInRange(0, 59);
    clock.second = input.ConsumeIntegralInRange(0, 59);
    clock.millisecond = input.ConsumeIntegralInRange(0, 999);
    const std::wstring text = fuzz::ConsumeText(input, 2000);

    const std::string line = LogLineBytes(clock, text);
    FUZZ_CHECK(IsUtf8(line));
    FUZZ_CHECK(line.size() >= 27 && line.compare(line.size() - 2, 2, "\r\n") == 0);
    FUZZ_CHECK(line.find_first_of("\r\n") == line.size() - 2);
    FUZZ_CHECK(line[4] == '-' && line[10] == ' ' && line[23] == ' ' && line[24] == ' ');
    FUZZ_CHECK(IsUtf8(Utf8FromWide(text)));
    FUZZ_CHECK(DefaultLogFileName(clock, L"0123456789abcdef").size() ==
               std::wstring(L"KorvanixSetup_20240501_090703_0123456789abcdef.log").size());

    MessageFacts message;
    message.kind = input.ConsumeIntegralInRange(-1, 3);
    message.retryMode = input.ConsumeBool();
    message.installerMessage = input.ConsumeBool();
    const MessageReply reply = SuppressedReply(message);
    // The answer that changes nothing is never the one that acts.
    FUZZ_CHECK(reply.choice != kChoiceForceClose);
    FUZZ_CHECK(message.kind == kTipNotice || message.installerMessage || reply.endCode == kTipCancel);
    FUZZ_CHECK(MessageShownEvent(message, text).find(text) != std::wstring::npos);

    StepSummary step;
    step.action = fuzz::ConsumeText(input, 40);
    step.detail = text;
    step.onFailure = fuzz::ConsumeText(input, 80);
    const size_t number = input.ConsumeIntegralInRange<size_t>(1, 100000);
    const std::vector<std::wstring> lines = PlanStepLines(number, step);
    FUZZ_CHECK(lines.size() == (step.onFailure.empty() ? 1u : 2u));
    FUZZ_CHECK(lines[0].find(std::to_wstring(number) + L". " + step.action) != std::wstring::npos);
    return 0;
}
