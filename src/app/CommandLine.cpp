#include "app/CommandLine.h"

#include <vector>

#include "config/SetupConfig.h"

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

CommandArgs ParseCommandLine(const std::wstring& commandLine) {
    std::wstring text = commandLine;
    size_t first = text.find(L'"');
    if (first != std::wstring::npos) {
        size_t second = text.find(L'"', first + 1);
        if (second != std::wstring::npos) {
            text.erase(0, second + 1);
        }
    }
    text = TrimSpace(text);

    CommandArgs args;
    for (const std::wstring& rawWord : CutWords(text)) {
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
    if (args.empty()) {
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

bool IsUsableTargetDir(const std::wstring& cleaned) {
    if (cleaned.empty()) {
        return false;  // TARGETDIR="" or TARGETDIR=\ names no folder at all
    }
    for (wchar_t c : cleaned) {
        if (c < 0x20 || c == L'"' || c == L'<' || c == L'>' || c == L'|' || c == L'*' || c == L'?') {
            return false;
        }
    }
    return true;
}

}  // namespace korv
