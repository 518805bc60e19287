#include "app/RunOptions.h"

#include "config/ValueText.h"
#include "session/ExitCodes.h"

namespace korv {

namespace {

const wchar_t* const kLog = L"LOG";
const wchar_t* const kSuppress = L"SUPPRESSMSGBOXES";
const wchar_t* const kPlan = L"PLAN";
const wchar_t* const kHelp = L"HELP";
const wchar_t* const kPackageTimeout = L"PACKAGETIMEOUT";

// A week: longer than any installer runs, short enough that minutes turned
// into milliseconds stay far below the wait functions' "no limit".
constexpr int kLongestPackageTimeout = 7 * 24 * 60;

// Whole minutes from 1 to the longest; -1 for anything else.
int TimeoutMinutes(const std::wstring& text) {
    if (text.empty() || text.size() > 5) {
        return -1;
    }
    int minutes = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return -1;
        }
        minutes = minutes * 10 + (c - L'0');
    }
    return minutes >= 1 && minutes <= kLongestPackageTimeout ? minutes : -1;
}

wchar_t Upper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool SameKey(const std::wstring& key, const wchar_t* name) {
    size_t i = 0;
    for (; i < key.size() && name[i] != L'\0'; ++i) {
        if (Upper(key[i]) != name[i]) {
            return false;
        }
    }
    return i == key.size() && name[i] == L'\0';
}

// The value of the option, or null when the words do not name it.
const std::wstring* Find(const CommandArgs& args, const wchar_t* name) {
    const std::wstring* value = nullptr;
    for (const auto& [key, text] : args) {
        if (SameKey(key, name)) {
            value = &text;
        }
    }
    return value;
}

bool IsOne(const std::wstring* value) {
    return value != nullptr && *value == L"1";
}

std::wstring Unquoted(std::wstring text) {
    while (!text.empty() && text.front() == L'"') {
        text.erase(0, 1);
    }
    while (!text.empty() && text.back() == L'"') {
        text.pop_back();
    }
    return text;
}

}  // namespace

bool IsRunOptionKey(const std::wstring& key) {
    return SameKey(key, kLog) || SameKey(key, kSuppress) || SameKey(key, kPlan) || SameKey(key, kHelp) ||
           SameKey(key, kPackageTimeout);
}

std::wstring CommandLineForLog(const std::wstring& commandLine) {
    const std::wstring rest = SkipProgramPath(commandLine);
    std::wstring shown = commandLine.substr(0, commandLine.size() - rest.size());
    while (!shown.empty() && (shown.back() == L' ' || shown.back() == L'\t')) {
        shown.pop_back();
    }
    for (const std::wstring& rawWord : CommandWords(commandLine)) {
        // The key as ParseCommandLine reads it.
        const std::wstring word = TrimSpace(rawWord);
        const size_t equals = word.find(L'=');
        const std::wstring key = TrimSpace(word.substr(0, equals));
        const bool known = key == L"quiet" || key == L"Uninstall" || key == L"TARGETDIR" || key == L"NUM" ||
                           key == L"REPAIR" || key == L"REGISTER" || key == L"PASSIVE" || IsRunOptionKey(key);
        shown += L' ';
        shown += equals == std::wstring::npos || known ? word : key + L"=<value hidden>";
    }
    return shown;
}

RunOptions ReadRunOptions(const std::wstring& commandLine) {
    const CommandArgs args = ParseCommandLine(commandLine);
    RunOptions options;
    if (const std::wstring* log = Find(args, kLog)) {
        options.logPath = Unquoted(*log);
    }
    options.suppressMessages = IsOne(Find(args, kSuppress));
    options.plan = IsOne(Find(args, kPlan));
    options.help = IsOne(Find(args, kHelp));
    if (const std::wstring* timeout = Find(args, kPackageTimeout)) {
        const int minutes = TimeoutMinutes(*timeout);
        options.packageTimeoutMinutes = minutes > 0 ? minutes : 0;
    }
    for (const std::wstring& word : CommandWords(commandLine)) {
        options.help = options.help || word == L"/?";
    }
    return options;
}

bool SuppressesMessages(const RunOptions& options, const CommandArgs& args) {
    return options.plan || (options.suppressMessages && IsUnattended(args));
}

int JudgeRunOptions(const CommandArgs& args) {
    for (const wchar_t* name : {kSuppress, kPlan, kHelp}) {
        const std::wstring* value = Find(args, name);
        if (value != nullptr && *value != L"0" && *value != L"1") {
            return kExitBadCommandLine;
        }
    }
    const std::wstring* timeout = Find(args, kPackageTimeout);
    if (timeout != nullptr && TimeoutMinutes(*timeout) < 0) {
        return kExitBadCommandLine;
    }
    return kExitSuccess;
}

}  // namespace korv
