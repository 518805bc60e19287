#include "app/PreflightChecks.h"

#include <tlhelp32.h>

#include <cwchar>
#include <cstdlib>
#include <vector>

#include "session/LocalText.h"
#include "session/TipMessage.h"
#include "config/Probes.h"

namespace korv {

namespace {

constexpr wchar_t kRunningProduct[] = L"korv.exe";

DWORD WindowsMajorVersion() {
    // GetVersionEx lies to programs without a manifest; the kernel's own
    // answer does not.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionFn>(GetProcAddress(ntdll, "RtlGetVersion")) : nullptr;
    if (rtlGetVersion != nullptr && rtlGetVersion(&info) == 0) {
        return info.dwMajorVersion;
    }
    return 6;
}

bool TokenInAdministratorsGroup(HANDLE token) {
    alignas(TOKEN_GROUPS) BYTE buffer[1024];
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenGroups, buffer, sizeof(buffer), &size)) {
        return false;
    }
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, &administrators)) {
        return false;
    }
    const TOKEN_GROUPS* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer);
    bool found = false;
    for (DWORD i = 0; i < groups->GroupCount && !found; ++i) {
        found = EqualSid(groups->Groups[i].Sid, administrators) != FALSE;
    }
    FreeSid(administrators);
    return found;
}

double LeadingNumber(const std::wstring& text) {
    return std::wcstod(text.c_str(), nullptr);
}

bool Contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

// Walks a snapshot of all processes; stops when visit returns false.
template <typename Visit>
void ForEachProcess(Visit visit) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (!visit(entry)) {
            break;
        }
    }
    CloseHandle(snapshot);
}

}  // namespace

bool IsUserAdminFor(DWORD majorVersion, bool elevationQueryOk, DWORD elevationBytes, DWORD elevated,
                    bool inAdministratorsGroup) {
    if (majorVersion < 6) {
        return inAdministratorsGroup;
    }
    return elevationQueryOk && elevationBytes == sizeof(DWORD) && elevated != 0;
}

bool IsUserAdmin() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    DWORD major = WindowsMajorVersion();
    TOKEN_ELEVATION elevation = {};
    DWORD bytes = 0;
    bool queried = false;
    bool inGroup = false;
    if (major < 6) {
        inGroup = TokenInAdministratorsGroup(token);
    } else {
        queried = GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &bytes) != FALSE;
    }
    CloseHandle(token);
    return IsUserAdminFor(major, queried, bytes, elevation.TokenIsElevated, inGroup);
}

VersionVerdict JudgeWindowsVersion(const std::function<std::wstring(const wchar_t*)>& readValue, int os64Bit) {
    double version = LeadingNumber(readValue(L"CurrentVersion"));
    if (version < 6.1) {
        return VersionVerdict::FailNotice;
    }
    if (version == 6.1) {
        if (os64Bit) {
            return readValue(L"CurrentBuildNumber") == L"7600" ? VersionVerdict::FailNotice : VersionVerdict::Pass;
        }
        return readValue(L"CSDVersion") == L"Service Pack 1" ? VersionVerdict::Pass : VersionVerdict::FailNotice;
    }
    if (version == 6.3) {
        std::wstring product = readValue(L"ProductName");
        if (Contains(product, L"Windows Server 2012") && !Contains(product, L"Windows Server 2012 R2")) {
            return VersionVerdict::FailNotice;
        }
        if (Contains(product, L"Windows Server")) {
            std::wstring head = product.substr(0, 19);
            std::wstring year = head.size() >= 4 ? head.substr(head.size() - 4) : head;
            if (std::wcstol(year.c_str(), nullptr, 10) < 2012) {
                return VersionVerdict::FailQuestion;
            }
        }
    }
    return VersionVerdict::Pass;
}

bool CheckWindowsVersion() {
    VersionVerdict verdict = JudgeWindowsVersion(ReadWindowsVersionValue, Session().os64Bit);
    if (verdict == VersionVerdict::Pass) {
        return true;
    }
    std::wstring text = LoadText(2045,
                                 L"The operating system version is too low, the software may not be installed "
                                 L"normally.Please read the system requirements in the software installation program.");
    ShowTipMessage(verdict == VersionVerdict::FailQuestion ? kTipQuestion : kTipNotice, text.c_str());
    return false;
}

DWORD FindProcess(const wchar_t* name) {
    DWORD found = 0;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (std::wcscmp(entry.szExeFile, name) == 0) {
            found = entry.th32ProcessID;
            return false;
        }
        return true;
    });
    return found;
}

bool WaitForProcessesToEnd(const std::vector<HANDLE>& processes, DWORD boundMs) {
    const ULONGLONG deadline = GetTickCount64() + boundMs;
    for (HANDLE process : processes) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(process, left) != WAIT_OBJECT_0) {
            return false;
        }
    }
    return true;
}

bool TerminateProcesses(const wchar_t* name) {
    bool allEnded = true;
    std::vector<HANDLE> ended;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (lstrcmpiW(entry.szExeFile, name) != 0) {
            return true;
        }
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (process == nullptr) {
            allEnded = false;
            return false;
        }
        if (!TerminateProcess(process, 0)) {
            CloseHandle(process);
            allEnded = false;
            return false;
        }
        ended.push_back(process);
        return true;
    });
    // TerminateProcess only starts the end: the program may still hold its
    // files for a while, and the packages that follow would write over
    // them. One that is not gone within the bound counts as still running.
    if (allEnded) {
        allEnded = WaitForProcessesToEnd(ended, kProcessEndBoundMs);
    }
    for (HANDLE process : ended) {
        CloseHandle(process);
    }
    return allEnded;
}

bool WaitForProductToClose() {
    while (FindProcess(kRunningProduct) != 0) {
        TipRequest request;
        request.kind = kTipQuestion;
        request.retryMode = true;
        request.text = LoadText(2010, L"Korvanix is running,please close the application and then try again.");
        TipAnswer answer = ShowTip(request);
        switch (answer.choice) {
        case kChoiceForceClose:
            if (TerminateProcesses(kRunningProduct)) {
                return true;
            }
            break;  // ask again
        case kChoiceCancel:
            return false;
        default:
            break;  // Retry, or no button: check again
        }
    }
    return true;
}

}  // namespace korv
