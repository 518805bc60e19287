#include "app/Switches.h"

#include <vector>

#include "session/ExitCodes.h"

namespace korv {

namespace {

wchar_t Lower(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring Lowered(std::wstring text) {
    for (wchar_t& c : text) {
        c = Lower(c);
    }
    return text;
}

struct Switch {
    const wchar_t* name;   // lower case, without the slash
    const wchar_t* words;  // blank-separated key=value words; empty: none
};

// /log takes its file and /? is the help: both are read apart.
const Switch kSwitches[] = {
    {L"quiet", L"quiet=1 SUPPRESSMSGBOXES=1"},
    {L"q", L"quiet=1 SUPPRESSMSGBOXES=1"},
    {L"uninstall", L"Uninstall=1"},
    {L"repair", L"REPAIR=1"},
    {L"passive", L"PASSIVE=1"},
    {L"norestart", L""},
};

const wchar_t* FindWords(const std::wstring& name) {
    for (const Switch& known : kSwitches) {
        if (name == known.name) {
            return known.words;
        }
    }
    return nullptr;
}

std::wstring KeyOf(const std::wstring& word) {
    const size_t equals = word.find(L'=');
    return equals == std::wstring::npos ? std::wstring() : Lowered(word.substr(0, equals));
}

// Whether `word` is a switch's word that an explicit word names with
// another value. Keys compare in any letter case here: QUIET=0 beside
// /quiet is as surely a mistake as quiet=0.
bool Contradicted(const std::wstring& word, const std::vector<std::wstring>& explicitWords) {
    const std::wstring key = KeyOf(word);
    for (const std::wstring& other : explicitWords) {
        if (KeyOf(other) == key && other.substr(key.size()) != word.substr(key.size())) {
            return true;
        }
    }
    return false;
}

}  // namespace

SwitchWords ReadSwitches(const std::wstring& commandLine) {
    const std::wstring tail = SkipProgramPath(commandLine);
    const std::vector<std::wstring> words = CommandWords(commandLine);
    std::vector<std::wstring> fromSwitches;
    std::vector<std::wstring> explicitWords;
    SwitchWords result;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (word.empty() || word[0] != L'/' || word == L"/?") {
            explicitWords.push_back(word);
            continue;
        }
        std::wstring name = Lowered(word.substr(1));
        if (name == L"log" || name.compare(0, 4, L"log:") == 0) {
            std::wstring file = name.size() > 4 ? word.substr(5) : std::wstring();
            if (name == L"log" && i + 1 < words.size()) {
                file = words[++i];
            }
            // /log followed by another switch has lost its file.
            if (file.empty() || file == L"\"\"" || file[0] == L'/') {
                result.refused = true;
            }
            fromSwitches.push_back(L"LOG=" + file);
            continue;
        }
        const wchar_t* known = FindWords(name);
        if (known == nullptr) {
            result.refused = true;
            continue;
        }
        const std::wstring mapped = known;
        size_t start = 0;
        while (start < mapped.size()) {
            size_t end = mapped.find(L' ', start);
            end = end == std::wstring::npos ? mapped.size() : end;
            fromSwitches.push_back(mapped.substr(start, end - start));
            start = end + 1;
        }
    }
    std::wstring line = commandLine.substr(0, commandLine.size() - tail.size());
    for (const std::wstring& word : fromSwitches) {
        result.refused = result.refused || Contradicted(word, explicitWords);
        line += L" " + word;
    }
    for (const std::wstring& word : explicitWords) {
        line += L" " + word;
    }
    result.commandLine = line;
    return result;
}

bool IsOneWord(const CommandArgs& args, const wchar_t* key) {
    auto word = args.find(key);
    return word != args.end() && word->second == L"1";
}

int JudgeRepairWord(const CommandArgs& args) {
    for (const wchar_t* key : {L"REPAIR", L"REGISTER", L"PASSIVE"}) {
        auto word = args.find(key);
        if (word != args.end() && word->second != L"0" && word->second != L"1") {
            return kExitBadCommandLine;
        }
    }
    return RepairRequested(args) && IsOneWord(args, L"Uninstall") ? kExitBadCommandLine : kExitSuccess;
}

}  // namespace korv
