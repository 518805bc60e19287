#include "app/CommandLine.h"

#include <vector>

#include "app/RunOptions.h"
#include "config/InstallFolderRule.h"
#include "config/ValueText.h"
#include "session/ExitCodes.h"

namespace korv {

namespace {

std::vector<std::wstring> CutWords(const std::wstring& text) {
    std::vector<std::wstring> words;
    std::wstring word;
    size_t i = 0;
    while (i < text.size()) {
        wchar_t c = text[i];
        if (c == L'"') {
            // A run: from this quote to the next one, blanks included. A
            // quote without a partner is an ordinary character.
            size_t close = text.find(L'"', i + 1);
            if (close != std::wstring::npos) {
                word.append(text, i, close - i + 1);
                i = close + 1;
                continue;
            }
            word += c;
        } else if (c == L' ') {
            if (!word.empty()) {
                words.push_back(word);
                word.clear();
            }
        } else {
            word += c;
        }
        ++i;
    }
    if (!word.empty()) {
        words.push_back(word);
    }
    return words;
}

}  // namespace

std::wstring SkipProgramPath(const std::wstring& commandLine) {
    size_t start = commandLine.find_first_not_of(L" \t");
    if (start == std::wstring::npos) {
        return {};
    }
    // Deployment tools and consoles start the program unquoted as often as
    // quoted; cutting at the second quote of the line would swallow the
    // words up to the closing quote of a later value instead.
    size_t end = commandLine[start] == L'"' ? commandLine.find(L'"', start + 1)
                                            : commandLine.find_first_of(L" \t", start);
    if (end == std::wstring::npos) {
        return {};
    }
    return commandLine.substr(commandLine[start] == L'"' ? end + 1 : end);
}

std::vector<std::wstring> CommandWords(const std::wstring& commandLine) {
    return CutWords(TrimSpace(SkipProgramPath(commandLine)));
}

CommandArgs ParseCommandLine(const std::wstring& commandLine) {
    CommandArgs args;
    for (const std::wstring& rawWord : CommandWords(commandLine)) {
        std::wstring word = TrimSpace(rawWord);
        size_t equals = word.find(L'=');
        if (equals == std::wstring::npos) {
            continue;
        }
        std::wstring key = TrimSpace(word.substr(0, equals));
        std::wstring value = TrimSpace(word.substr(equals + 1));
        if (key.empty() || value.empty()) {
            continue;
        }
        args[key] = value;
    }
    return args;
}

bool IsUnattended(const CommandArgs& args) {
    bool choosingWord = false;
    for (const auto& word : args) {
        choosingWord = choosingWord || !IsRunOptionKey(word.first);
    }
    if (!choosingWord) {
        return false;
    }
    auto quiet = args.find(L"quiet");
    return quiet == args.end() || quiet->second != L"0";
}

RunMode DecideRunMode(const CommandArgs& args, int installed) {
    if (IsUnattended(args)) {
        auto uninstall = args.find(L"Uninstall");
        if (uninstall != args.end() && uninstall->second == L"1") {
            return RunMode::UnattendedUninstall;
        }
        return RunMode::UnattendedInstall;
    }
    return installed == 1 ? RunMode::Maintenance : RunMode::InteractiveInstall;
}

std::wstring CleanTargetDir(const std::wstring& value) {
    std::wstring folder = value;
    size_t lead = folder.find_first_not_of(L'"');
    folder.erase(0, lead == std::wstring::npos ? folder.size() : lead);
    while (!folder.empty() && folder.back() == L'"') {
        folder.pop_back();
    }
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

bool ParseNumWord(const std::wstring& text, int& value) {
    size_t digits = (!text.empty() && (text[0] == L'-' || text[0] == L'+')) ? 1 : 0;
    if (digits == text.size() || text.find_first_not_of(L"0123456789", digits) != std::wstring::npos) {
        return false;
    }
    long long number = 0;
    for (size_t i = digits; i < text.size(); ++i) {
        number = number * 10 + (text[i] - L'0');
        if (number > 2147483648LL) {
            return false;
        }
    }
    number = text[0] == L'-' ? -number : number;
    if (number > 2147483647LL) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

int JudgeCommandLine(const CommandArgs& args) {
    if (!IsUnattended(args)) {
        return kExitSuccess;
    }
    auto target = args.find(L"TARGETDIR");
    if (target != args.end() && !IsAcceptedInstallFolder(CleanTargetDir(target->second))) {
        return kExitBadCommandLine;
    }
    // NUM counts only for an install; an uninstall does not read it.
    auto num = args.find(L"NUM");
    int value = 0;
    if (num != args.end() && DecideRunMode(args, 0) == RunMode::UnattendedInstall &&
        !ParseNumWord(num->second, value)) {
        return kExitBadCommandLine;
    }
    return kExitSuccess;
}

}  // namespace korv
