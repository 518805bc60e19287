#include "engine/Uninstall.h"

#include <windows.h>
#include <shellapi.h>

#include <iterator>

#include "session/DiagnosticLog.h"
#include "session/InstallSession.h"
#include "engine/InstallJob.h"
#include "engine/InstallPlan.h"
#include "engine/PackageRunner.h"
#include "engine/ProductData.h"
#include "engine/UninstallPlan.h"
#include "engine/UninstallWindows.h"
#include "framework/DecimalText.h"
#include "framework/PrivateFolder.h"

namespace korv {

namespace {

namespace p = product;

constexpr size_t kTempFolderChars = 260;

void Call(const std::function<void()>& window) {
    if (window) {
        window();
    }
}

bool OpenWithShell(const std::wstring& program, const wchar_t* parameters) {
    HINSTANCE result = ShellExecuteW(nullptr, L"open", program.c_str(), parameters, nullptr, SW_SHOWNORMAL);
    const bool started = reinterpret_cast<INT_PTR>(result) > 32;
    if (!started) {
        LogEvent(L"the shell cannot start " + program + L" (error " +
                 fw::DecimalText(reinterpret_cast<INT_PTR>(result)) + L")");
    }
    return started;
}

bool CopyOver(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

}  // namespace

std::wstring MsiRemovalCommandLine(const std::wstring& productCode) {
    return std::wstring(L"msiexec ") + L" -x" + L" " + productCode + L" -q";
}

std::wstring SystemMsiexecPath() {
    wchar_t folder[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(folder, static_cast<UINT>(std::size(folder)));
    if (length == 0 || length >= std::size(folder)) {
        return {};
    }
    return std::wstring(folder, length) + L"\\msiexec.exe";
}

std::wstring CreateFreshFolderIn(const std::wstring& tempFolder) {
    // KUninstall runs elevated from this folder and loads DLLs from it: only
    // SYSTEM and the Administrators may write into it, and its name cannot be
    // guessed ahead of time.
    const size_t room = kTempFolderChars - std::wstring(p::kUninstallerOnMedium).size() - 1;
    return fw::CreatePrivateFolder(tempFolder, L"KorvUninstall-", room);
}

int UninstallProduct() {
    return ApplyInstallPlan(PlanUninstall(Session(), UninstallFacts::OfThisMachine()), nullptr,
                            FailureReport::kSilent)
               ? 1
               : 0;
}

bool HandOverToUninstaller(const std::wstring& installedFolder, const std::wstring& tempFolder) {
    if (tempFolder.empty()) {
        return false;
    }
    // KUninstall runs with administrator rights; started from the shared
    // temporary folder, which every user can write to, it would load any
    // DLL planted there under a name it looks for. A folder of its own,
    // created new for this run, holds only what is copied into it.
    const std::wstring folder = CreateFreshFolderIn(tempFolder);
    if (folder.empty()) {
        return false;
    }
    const std::wstring& T = installedFolder;
    const std::wstring uninstaller = folder + p::kUninstallerOnMedium;
    if (!CopyOver(T + p::kUninstallerInstalled, uninstaller) || !CopyOver(T + p::kInstallLog, folder + p::kInstallLog) ||
        !CopyOver(T + p::kResourceLibrary, folder + p::kResourceLibrary)) {
        LogEvent(L"KUninstall, install.log or IntallerRes.dll cannot be copied from " + T + L" to " + folder);
        return false;
    }

    Call(CurrentUninstallWindows().closeWaitWindow);
    LogEvent(L"hands over to \"" + uninstaller + L"\" /norestart (not waited for)");
    return OpenWithShell(uninstaller, L"/norestart");
}

int RollbackInstall() {
    const std::wstring S = MediumFolder(Session()) + L"\\";
    if (!CopyOver(Session().targetFolder + L"\\" + p::kInstallLog, S + p::kInstallLog)) {
        return 0;
    }
    LogEvent(L"rollback: hands over to \"" + S + p::kUninstallerOnMedium + L"\" /quiet /norestart (not waited for)");
    return OpenWithShell(S + p::kUninstallerOnMedium, L"/quiet /norestart") ? 1 : 0;
}

}  // namespace korv
