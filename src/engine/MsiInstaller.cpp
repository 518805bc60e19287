#include "engine/MsiInstaller.h"

#include <msi.h>

#include "framework/DecimalText.h"
#include "session/DiagnosticLog.h"
#include "session/InstallSession.h"
#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "config/SetupConfig.h"
#include "engine/FileOperations.h"
#include "session/ProgressMessages.h"
#include "resource.h"

namespace korv {

const wchar_t kMsiHandlerContext[] = L"Msi Install Error Check";

namespace {

using SetInternalUiFn = INSTALLUILEVEL(WINAPI*)(INSTALLUILEVEL, HWND*);
using SetExternalUiFn = INSTALLUI_HANDLERW(WINAPI*)(INSTALLUI_HANDLERW, DWORD, LPVOID);
using InstallProductFn = UINT(WINAPI*)(LPCWSTR, LPCWSTR);

// The English sentence some packages raise when the .NET Framework is
// missing; it is replaced by the localised text.
constexpr wchar_t kDotNetSentence[] =
    L"Microsoft .NET Framework 4.0 Client Package or greater needs to be installed for this installation to "
    L"continue.";

void Post(HWND window, UINT message) {
    if (window != nullptr) {
        PostMessageW(window, message, 0, 0);
    }
}

// msi.dll stays loaded from the first installation to the end of the
// process. It is taken from the system folder only: a msi.dll planted on the
// medium beside the setup program would otherwise run with administrator
// rights.
HMODULE MsiModule() {
    InstallSession& session = Session();
    if (session.msiModule == nullptr) {
        session.msiModule = LoadLibraryExW(L"msi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        // Windows 7 without the loader update refuses the flag; the full
        // system path gives the same library there.
        if (session.msiModule == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
            wchar_t folder[MAX_PATH] = {};
            UINT length = GetSystemDirectoryW(folder, MAX_PATH);
            if (length > 0 && length < MAX_PATH) {
                session.msiModule = LoadLibraryW((std::wstring(folder, length) + L"\\msi.dll").c_str());
            }
        }
    }
    return session.msiModule;
}

// Installs the package; false when the installation was not attempted
// (attempted false) or the Windows Installer reported a failure.
bool Install(const std::wstring& path, const std::wstring& properties, bool& attempted) {
    attempted = false;
    HMODULE module = MsiModule();
    if (module == nullptr) {
        LogEvent(L"the Windows Installer library msi.dll cannot be loaded: " + path + L" is not installed");
        return false;
    }
    auto setInternalUi = reinterpret_cast<SetInternalUiFn>(GetProcAddress(module, "MsiSetInternalUI"));
    auto setExternalUi = reinterpret_cast<SetExternalUiFn>(GetProcAddress(module, "MsiSetExternalUIW"));
    auto installProduct = reinterpret_cast<InstallProductFn>(GetProcAddress(module, "MsiInstallProductW"));
    if (setInternalUi == nullptr || setExternalUi == nullptr || installProduct == nullptr) {
        LogEvent(L"the Windows Installer library msi.dll lacks a function: " + path + L" is not installed");
        return false;
    }
    if (!FileFound(path)) {
        LogEvent(L"package not found: " + path);
        return false;
    }
    setInternalUi(static_cast<INSTALLUILEVEL>(MsiInternalUiLevel(MessagesSuppressed())), nullptr);
    setExternalUi(MsiUiHandler, kMsiMessageFilter, const_cast<wchar_t*>(kMsiHandlerContext));
    attempted = true;
    const std::wstring commandLine = MsiCommandLine(properties);
    LogEvent(L"Windows Installer installs " + path + L" with " + commandLine);
    const UINT result = installProduct(path.c_str(), commandLine.c_str());
    LogEvent(MsiResultEvent(result));
    if (MsiResultNeedsRestart(result)) {
        Session().restartNeeded = 1;
    }
    return IsInstalledMsiResult(result);
}

int RunMsi(MsiRunner runner, const std::wstring& path, const std::wstring& properties, HWND progress) {
    Post(progress, WM_PACKAGE_BEGIN);
    bool attempted = false;
    if (Install(path, properties, attempted)) {
        Post(progress, WM_PACKAGE_END);
        return 1;
    }
    const std::wstring lowered = ToLowerText(path);
    // Stopped because the person cancelled: that is no failure to report.
    if (!IsSilentMsiFailure(runner, lowered, attempted) && Session().cancelRequested.load() == 0) {
        ShowTipMessage(kTipNotice, MsiFailureText(lowered).c_str(), progress);
    }
    return 0;
}

// Found anywhere but at the very start of the path.
bool ContainsAfterFirst(const std::wstring& text, const wchar_t* name) {
    return text.size() > 1 && text.find(name, 1) != std::wstring::npos;
}

// A message the Windows Installer raises: with messages suppressed it gets
// the Windows Installer's own default (0, "not handled").
int ShowInstallerMessage(const std::wstring& text) {
    TipRequest request;
    request.kind = kTipNotice;
    request.text = text;
    request.owner = Session().progressWindow;
    request.installerMessage = true;
    return ShowTip(request).endCode;
}

}  // namespace

bool IsSilentMsiFailure(MsiRunner runner, const std::wstring& loweredPath, bool attempted) {
    // The spreadsheet-table packages fit only some Office installations, so
    // their failures are expected; so is a failed msxml6.msi, whose result
    // the job does not use. A missing msxml6.msi still means a broken medium.
    if (runner == MsiRunner::kWithProperties) {
        return ContainsAfterFirst(loweredPath, L"autosheetgrid");
    }
    return ContainsAfterFirst(loweredPath, L"sheetgrid_chs.msi") ||
           ContainsAfterFirst(loweredPath, L"sheetgrid_eng.msi") ||
           (attempted && ContainsAfterFirst(loweredPath, L"msxml6.msi"));
}

std::wstring MsiCommandLine(const std::wstring& properties) {
    // No package may restart the machine in the middle of the job, with the
    // setup and the packages after it cut off; the restart a package needs
    // is reported by the run's exit code instead.
    return properties.empty() ? std::wstring(kSuppressRestart) : properties + L" " + kSuppressRestart;
}

bool IsInstalledMsiResult(unsigned result) {
    return result == ERROR_SUCCESS || MsiResultNeedsRestart(result);
}

bool MsiResultNeedsRestart(unsigned result) {
    return result == ERROR_SUCCESS_REBOOT_REQUIRED || result == ERROR_SUCCESS_REBOOT_INITIATED;
}

int MsiInternalUiLevel(bool messagesSuppressed) {
    // The source-resolution dialog waits for a person like any message.
    return messagesSuppressed ? INSTALLUILEVEL_NONE : kMsiInternalUiLevel;
}

std::wstring MsiResultEvent(unsigned result) {
    std::wstring meaning;
    if (result == ERROR_SUCCESS) {
        meaning = L"installed";
    } else if (MsiResultNeedsRestart(result)) {
        meaning = L"installed, the machine must restart to finish";
    } else if (result == ERROR_INSTALL_USEREXIT) {
        meaning = L"cancelled";
    } else {
        meaning = L"failed";
    }
    return L"Windows Installer result " + fw::DecimalText(result) + L" (" + meaning + L")";
}

std::wstring MsiFailureText(const std::wstring& loweredPath) {
    return loweredPath + LoadText(IDS_MSI_INSTALL_FAILED, L"Msi Install Failed!");
}

int InstallMsiPackage(const std::wstring& path, HWND progress) {
    return RunMsi(MsiRunner::kPlain, path, std::wstring(), progress);
}

int InstallMsiPackageWithProperties(const std::wstring& path, const std::wstring& properties, HWND progress) {
    return RunMsi(MsiRunner::kWithProperties, path, properties, progress);
}

int WINAPI MsiUiHandler(void* context, UINT messageType, const wchar_t* message) {
    const UINT type = messageType & 0xFF000000u;
    // The person cancelled on the copy-progress page: the Windows Installer
    // stops the package at its next progress report and rolls it back
    // itself (its result is then 1602).
    if (Session().cancelRequested.load() != 0 &&
        (type == INSTALLMESSAGE_PROGRESS || type == INSTALLMESSAGE_ACTIONSTART || type == INSTALLMESSAGE_ACTIONDATA)) {
        return IDCANCEL;
    }
    if (message == nullptr || message[0] == L'\0') {
        return 0;
    }
    switch (type) {
    case INSTALLMESSAGE_FATALEXIT:
    case INSTALLMESSAGE_WARNING:
        return ShowInstallerMessage(message);
    case INSTALLMESSAGE_ERROR: {
        if (!MessagesSuppressed()) {
            MessageBeep(messageType & MB_ICONMASK);
        }
        if (CompareStringOrdinal(message, -1, kDotNetSentence, -1, TRUE) == CSTR_EQUAL) {
            return ShowInstallerMessage(LoadText(IDS_DOTNET_MISSING, kDotNetSentence));
        }
        return ShowInstallerMessage(message);
    }
    case INSTALLMESSAGE_USER:
    case INSTALLMESSAGE_INFO:
    case INSTALLMESSAGE_OUTOFDISKSPACE:
    case INSTALLMESSAGE_ACTIONSTART:
    case INSTALLMESSAGE_ACTIONDATA:
    case INSTALLMESSAGE_PROGRESS:
    case INSTALLMESSAGE_COMMONDATA:
    case INSTALLMESSAGE_INITIALIZE:
    case INSTALLMESSAGE_TERMINATE:
    case INSTALLMESSAGE_SHOWDIALOG:
        return IDOK;
    default:
        return 0;
    }
}

}  // namespace korv
