// The command line as start-up sees it: the program path skipped, the
// key=value words cut, the run mode chosen, TARGETDIR cleaned and judged,
// NUM read, the refusal of an unattended run's words, and the words that
// only change how a run reports (LOG, SUPPRESSMSGBOXES, PLAN, HELP).
#include <cwctype>

#include "FuzzSupport.h"
#include "app/CommandLine.h"
#include "app/RunOptions.h"
#include "config/InstallFolderRule.h"
#include "session/ExitCodes.h"

using namespace korv;

namespace {

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

bool IsTrimmed(const std::wstring& text) {
    return !text.empty() && !IsSpace(text.front()) && !IsSpace(text.back());
}

void CheckAcceptedFolder(const std::wstring& folder) {
    FUZZ_CHECK(folder.size() <= kMaxInstallFolderChars);
    const bool drive = folder.size() > 3 && folder[1] == L':' && folder[2] == L'\\';
    const bool network = folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\';
    FUZZ_CHECK(drive || network);
    FUZZ_CHECK(folder.back() != L'\\' && folder.back() != L' ' && folder.back() != L'.');
    FUZZ_CHECK(folder.find(L"\\\\", 2) == std::wstring::npos);
    for (size_t i = drive ? 3 : 2; i < folder.size(); ++i) {
        const wchar_t c = folder[i];
        FUZZ_CHECK(c >= 0x20 && std::wstring(L"/:*?\"<>|").find(c) == std::wstring::npos);
    }
    // What TARGETDIR accepts, an installed copy's record accepts too.
    FUZZ_CHECK(IsFolderBelowRoot(folder));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring line = fuzz::TextFromInput(data, size);

    const std::wstring rest = SkipProgramPath(line);
    FUZZ_CHECK(rest.size() <= line.size());
    FUZZ_CHECK(line.compare(line.size() - rest.size(), rest.size(), rest) == 0);

    const CommandArgs args = ParseCommandLine(line);
    for (const auto& [key, value] : args) {
        FUZZ_CHECK(IsTrimmed(key) && IsTrimmed(value));
        FUZZ_CHECK(key.find(L'=') == std::wstring::npos);
    }

    const RunMode mode = DecideRunMode(args, 0);
    FUZZ_CHECK(IsUnattended(args) ==
               (mode == RunMode::UnattendedInstall || mode == RunMode::UnattendedUninstall));
    FUZZ_CHECK(DecideRunMode(args, 1) == (IsUnattended(args) ? mode : RunMode::Maintenance));

    const int refusal = JudgeCommandLine(args);
    FUZZ_CHECK(refusal == kExitSuccess || refusal == kExitBadCommandLine);
    auto target = args.find(L"TARGETDIR");
    if (refusal == kExitSuccess && IsUnattended(args) && target != args.end()) {
        CheckAcceptedFolder(CleanTargetDir(target->second));
    }
    if (!IsUnattended(args)) {
        FUZZ_CHECK(refusal == kExitSuccess);
    }

    // The reporting words choose nothing: without them the run mode is the same.
    CommandArgs choosing;
    for (const auto& [key, value] : args) {
        if (!IsRunOptionKey(key)) {
            choosing[key] = value;
        }
    }
    FUZZ_CHECK(DecideRunMode(choosing, 0) == mode);
    const RunOptions options = ReadRunOptions(line);
    const int optionRefusal = JudgeRunOptions(args);
    FUZZ_CHECK(optionRefusal == kExitSuccess || optionRefusal == kExitBadCommandLine);
    if (optionRefusal == kExitSuccess) {
        FUZZ_CHECK(options.logPath.empty() || (options.logPath.front() != L'"' && options.logPath.back() != L'"'));
    }
    FUZZ_CHECK(!SuppressesMessages(options, args) || options.plan || IsUnattended(args));

    // The rules on the raw text as a folder.
    const std::wstring cleaned = CleanTargetDir(line);
    FUZZ_CHECK(cleaned.empty() || (cleaned.back() != L'\\' && cleaned.front() != L'"'));
    if (IsAcceptedInstallFolder(cleaned)) {
        CheckAcceptedFolder(cleaned);
    }
    IsFolderBelowRoot(line);

    int number = 0;
    if (ParseNumWord(line, number)) {
        int again = 0;
        FUZZ_CHECK(ParseNumWord(std::to_wstring(number), again) && again == number);
    }
    return 0;
}
