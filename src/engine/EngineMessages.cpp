#include "engine/EngineMessages.h"

#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "resource.h"

namespace korv {

std::wstring FillTextArgument(const std::wstring& format, const std::wstring& argument) {
    std::wstring out;
    out.reserve(format.size() + argument.size());
    bool filled = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L'%') {
                out += L'%';
                ++i;
                continue;
            }
            if (format[i + 1] == L's' && !filled) {
                out += argument;
                filled = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

std::wstring FileMissingText(const std::wstring& path) {
    return FillTextArgument(LoadText(IDS_FILE_NOT_FOUND, L"File :'%s' does not exist!"), path);
}

void ShowFileMissing(const std::wstring& path, HWND owner) {
    ShowTipMessage(kTipNotice, FileMissingText(path).c_str(), owner);
}

}  // namespace korv
