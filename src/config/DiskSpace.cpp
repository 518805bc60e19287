#include "config/DiskSpace.h"

#include "session/LocalText.h"
#include "session/TipMessage.h"

namespace korv {

int JudgeFreeSpace(bool queried, unsigned long long freeBytes) {
    if (!queried) {
        return 0;
    }
    return freeBytes >= kRequiredFreeBytes ? 1 : 2;
}

int CheckDiskSpace(const std::wstring& folder, HWND owner) {
    ULARGE_INTEGER freeToCaller = {};
    bool queried = GetDiskFreeSpaceExW(folder.c_str(), &freeToCaller, nullptr, nullptr) != FALSE;
    int result = JudgeFreeSpace(queried, freeToCaller.QuadPart);
    if (result == 0) {
        std::wstring text = LoadText(2002,
                                     L"Get disk space failed.\nYou do not have sufficient security privileges to "
                                     L"install software on this computer.Please contact your system administrator "
                                     L"or log off and log-in again as an administrator.");
        ShowTipMessage(kTipNotice, text.c_str(), owner);
    } else if (result == 2) {
        ShowTipMessage(kTipNotice, LoadText(2001, L"There is not enough disk space.").c_str(), owner);
    }
    return result;
}

}  // namespace korv
