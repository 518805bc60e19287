#include "pages/FolderGates.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <iterator>

#include "config/DiskSpace.h"
#include "engine/FileOperations.h"
#include "framework/Com.h"
#include "pages/FolderRules.h"
#include "resource.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "session/TipMessage.h"

namespace korv {

namespace {

const wchar_t kPathInputError[] = L"Path input error, please input again.";

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        // Start where the person last was (or at the path box's folder).
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
        SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, data);
    } else if (message == BFFM_SELCHANGED) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path)) {
            SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
        }
    }
    return 0;
}

// The folder as Windows will take it, "." and ".." resolved.
std::wstring FullFolderPath(const std::wstring& folder) {
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(folder.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    if (length == 0 || length >= std::size(full)) {
        return folder;
    }
    return std::wstring(full, length);
}

}  // namespace

bool ValidateInstallFolder(HWND owner, RootMessage rootMessage, std::wstring& pathText, bool& pathTextChanged) {
    InstallSession& s = Session();
    const FolderCheck check = CheckInstallFolder(s.targetFolder, FullFolderPath);
    s.targetFolder = check.folder;
    pathTextChanged = check.writeBack;
    if (check.writeBack) {
        pathText = check.folder;
    }
    switch (check.verdict) {
    case FolderVerdict::kAccepted:
        return true;
    case FolderVerdict::kBareName:
    case FolderVerdict::kBlankBesideSeparator:
    case FolderVerdict::kBadForm:
        ShowTipMessage(kTipNotice, LoadText(IDS_PATH_INPUT_ERROR, kPathInputError).c_str(), owner);
        return false;
    case FolderVerdict::kRoot:
        ShowTipMessage(rootMessage == RootMessage::kQuestion ? kTipQuestion : kTipNotice,
                       LoadText(IDS_PATH_IS_ROOT,
                                L"The software is not installed on the disk root directory, please input again.")
                           .c_str(),
                       owner);
        return false;
    case FolderVerdict::kBadCharacters:
        ShowTipMessage(kTipNotice,
                       LoadText(IDS_PATH_INVALID_CHARS,
                                L"Invalid characters in path name.\nThe following characters are not valid in path "
                                L"names: / : * ? \" < > |")
                           .c_str(),
                       owner);
        return false;
    }
    return false;
}

bool ConfirmFolderNotEmpty(HWND owner) {
    const std::wstring& folder = Session().targetFolder;
    if (IsFolderEmpty(folder) == 1) {
        return true;
    }
    std::wstring text = FormatWithFolder(
        LoadText(IDS_FOLDER_NOT_EMPTY, L"%s is not empty. Are you sure you want to install to this position?"), folder);
    return ShowTipMessage(kTipQuestion, text.c_str(), owner) == kTipOk;
}

bool PassFreeSpaceGate(HWND owner) {
    const std::wstring& folder = Session().targetFolder;
    if (PathIsNetworkPathW(folder.c_str())) {
        return true;
    }
    return CheckDiskSpace(FreeSpaceProbe(folder), owner) == 1;
}

bool PickInstallFolder(HWND owner, std::wstring& startFolder, std::wstring& pathText) {
    // OLE for the dialog's own use, released on every way out of it.
    fw::OleInit ole;
    const std::wstring title = LoadText(IDS_SELECT_FOLDER_TITLE, L"Please  Select the installation Path.");
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_NEWDIALOGSTYLE;  // 0x45
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
    PIDLIST_ABSOLUTE picked = SHBrowseForFolderW(&info);
    if (picked == nullptr) {
        return false;
    }
    wchar_t path[MAX_PATH] = {};
    const bool hasPath = SHGetPathFromIDListW(picked, path) != FALSE;
    CoTaskMemFree(picked);
    if (!hasPath) {
        return false;
    }
    startFolder = path;
    pathText = PickedInstallFolder(path, Session().productName);
    return true;
}

}  // namespace korv
