// uidriver: works the setup program's windows the way a person does, for
// end-to-end runs and screenshots under Wine. It finds a visible top-level
// window by the id of a control in it and clicks (real mouse input through
// SendInput, so hit-testing, input blocks and focus apply), types, presses
// keys or reads texts.
//
//   uidriver wait  ID [--with ID2] [--timeout S]   a window with control ID shows (prints its handle)
//   uidriver gone  ID [--with ID2] [--timeout S]   no such window is left
//   uidriver click ID [--with ID2] [--timeout S]   click the middle of control ID
//   uidriver type  ID TEXT [--with ID2]           click into control ID, replace its text by typing
//   uidriver key   NAME [--with ID2 --in ID]       press a key (RETURN, ESCAPE, SPACE, TAB, F1) in that window
//   uidriver text  ID [--with ID2]                print the control's window text
//   uidriver state ID [--with ID2]                print "visible enabled" flags of control ID
//   uidriver rect  ID [--with ID2]                print the control's screen rectangle
//   uidriver where ID [--with ID2]                print the window a click on the control would reach
//   uidriver close ID [--with ID2]                close the window holding control ID by its close box
//   uidriver list  [PROCESS]                      print the visible top-level windows (of PROCESS.exe only)
//   uidriver watch PROCESS [--timeout S]          watch a run of PROCESS for windows (see below)
//
// watch prints "watching PROCESS" at once, waits up to S seconds (default
// 30) for a process of that file name to start, then looks at the visible
// top-level windows every 20 ms until no such process is left or S seconds
// have passed, and prints every window of it that it saw (once each). Exit
// code 0 when the run ended without showing a window, 1 when it showed one
// or never started, 3 when it was still running after S seconds. A test
// starts the watch, waits for its first line, then starts the program.
//
// --with ID2 picks only windows that also hold control ID2 (the tip dialog's
// OK is "1 --with 3016"). The topmost matching window wins. Waiting
// commands poll every 50 ms up to the timeout (default 30 s). Exit code 0
// on success, 1 when the window or control is not there in time, 2 on a
// usage error.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

// Ids of the running processes whose file name is name (ignoring case).
std::set<DWORD> ProcessesNamed(const std::wstring& name) {
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return ids;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (name.empty() || lstrcmpiW(entry.szExeFile, name.c_str()) == 0) {
            ids.insert(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return ids;
}

struct ShownWindow {
    HWND window;
    DWORD process;
    std::wstring text;  // "HWND pid class "title""
};

struct WindowWalk {
    const std::set<DWORD>* processes;
    bool all;
    std::vector<ShownWindow> found;
};

BOOL CALLBACK NoteShownWindow(HWND window, LPARAM data) {
    auto* walk = reinterpret_cast<WindowWalk*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!IsWindowVisible(window) || (!walk->all && walk->processes->count(process) == 0)) {
        return TRUE;
    }
    wchar_t name[128] = {};
    wchar_t title[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    GetWindowTextW(window, title, static_cast<int>(std::size(title)));
    wchar_t line[512] = {};
    std::swprintf(line, std::size(line), L"%p pid=%lu class=%ls title=\"%ls\"", static_cast<void*>(window), process,
                  name, title);
    walk->found.push_back({window, process, line});
    return TRUE;
}

// The visible top-level windows of the given processes (all when all is set).
std::vector<ShownWindow> VisibleWindows(const std::set<DWORD>& processes, bool all) {
    WindowWalk walk{&processes, all, {}};
    EnumWindows(NoteShownWindow, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

int List(const std::wstring& processName) {
    for (const ShownWindow& shown : VisibleWindows(ProcessesNamed(processName), processName.empty())) {
        std::wprintf(L"%ls\n", shown.text.c_str());
    }
    return 0;
}

int Watch(const std::wstring& processName, double timeoutSeconds) {
    std::wprintf(L"watching %ls\n", processName.c_str());
    std::fflush(stdout);
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutSeconds * 1000);
    std::set<DWORD> running = ProcessesNamed(processName);
    while (running.empty() && GetTickCount64() < deadline) {
        Sleep(20);
        running = ProcessesNamed(processName);
    }
    if (running.empty()) {
        std::wprintf(L"%ls never started\n", processName.c_str());
        return 1;
    }
    std::set<HWND> seen;
    int shownCount = 0;
    while (!running.empty()) {
        for (const ShownWindow& shown : VisibleWindows(running, false)) {
            if (seen.insert(shown.window).second) {
                std::wprintf(L"window %ls\n", shown.text.c_str());
                std::fflush(stdout);
                ++shownCount;
            }
        }
        if (GetTickCount64() >= deadline) {
            std::wprintf(L"%ls still running after %.0f s\n", processName.c_str(), timeoutSeconds);
            return 3;
        }
        Sleep(20);
        running = ProcessesNamed(processName);
    }
    std::wprintf(L"%ls ended, %d window(s) shown\n", processName.c_str(), shownCount);
    return shownCount == 0 ? 0 : 1;
}


struct Options {
    std::wstring command;
    int id = 0;
    int with = 0;
    std::wstring text;
    double timeoutSeconds = 30;
};

struct Search {
    const Options* options;
    HWND found;
};

bool ControlVisible(HWND page, int id) {
    HWND control = GetDlgItem(page, id);
    return control != nullptr && IsWindowVisible(control);
}

BOOL CALLBACK FindPage(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    if (!ControlVisible(window, search->options->id)) {
        return TRUE;
    }
    if (search->options->with != 0 && GetDlgItem(window, search->options->with) == nullptr) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

// The topmost visible window that holds the control (top-level windows are
// enumerated from the top of the window order down).
HWND FindWindowWithControl(const Options& options) {
    Search search{&options, nullptr};
    EnumWindows(FindPage, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const Options& options) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(options.timeoutSeconds * 1000);
    while (true) {
        HWND page = FindWindowWithControl(options);
        if (page != nullptr || GetTickCount64() >= deadline) {
            return page;
        }
        Sleep(50);
    }
}

void SendMouse(DWORD flags, int x = 0, int y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Absolute coordinates run from 0 to 65535 over the primary screen.
        input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    SendInput(1, &input, sizeof(input));
}

void SendKey(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

void PressKey(WORD vk) {
    SendKey(vk, false);
    SendKey(vk, true);
    Sleep(20);
}

void TypeCharacter(wchar_t c) {
    INPUT inputs[2]{};
    for (int i = 0; i < 2; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wScan = c;
        inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, inputs, sizeof(INPUT));
    Sleep(5);
}

// Lets the target process handle what was sent before the next step.
void Settle(HWND window) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result);
    Sleep(100);
}

bool Click(HWND page, int id) {
    HWND control = GetDlgItem(page, id);
    if (control == nullptr) {
        return false;
    }
    RECT r{};
    GetWindowRect(control, &r);
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    SetForegroundWindow(page);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y);
    Sleep(30);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Settle(page);
    return true;
}

WORD KeyByName(const std::wstring& name) {
    if (name == L"RETURN") return VK_RETURN;
    if (name == L"ESCAPE") return VK_ESCAPE;
    if (name == L"SPACE") return VK_SPACE;
    if (name == L"TAB") return VK_TAB;
    if (name == L"F1") return VK_F1;
    return 0;
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT crosses processes for the system's controls.
    wchar_t buffer[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                        2000, &copied);
    return std::wstring(buffer, copied);
}

int Usage() {
    std::fwprintf(stderr, L"usage: uidriver wait|gone|click|close|type|key|text|state|rect ID [TEXT] [--with ID2] "
                          L"[--timeout S]\n       uidriver list [PROCESS]\n"
                          L"       uidriver watch PROCESS [--timeout S]\n");
    return 2;
}

bool Parse(int argc, wchar_t** argv, Options& options) {
    if (argc < 3) {
        return false;
    }
    options.command = argv[1];
    std::vector<std::wstring> positional;
    for (int i = 2; i < argc; ++i) {
        std::wstring word = argv[i];
        if (word == L"--with" && i + 1 < argc) {
            options.with = _wtoi(argv[++i]);
        } else if (word == L"--timeout" && i + 1 < argc) {
            options.timeoutSeconds = _wtof(argv[++i]);
        } else {
            positional.push_back(word);
        }
    }
    if (positional.empty()) {
        return false;
    }
    if (options.command == L"key") {
        options.text = positional[0];
        options.id = positional.size() > 1 ? _wtoi(positional[1].c_str()) : 0;
        return KeyByName(options.text) != 0 && options.id != 0;
    }
    options.id = _wtoi(positional[0].c_str());
    if (options.command == L"type") {
        if (positional.size() < 2) {
            return false;
        }
        options.text = positional[1];
    }
    return options.id != 0 || positional[0] == L"0";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wstring(argv[1]) == L"list") {
        return List(argc >= 3 ? argv[2] : L"");
    }
    if (argc >= 3 && std::wstring(argv[1]) == L"watch") {
        double timeout = 30;
        if (argc >= 5 && std::wstring(argv[3]) == L"--timeout") {
            timeout = _wtof(argv[4]);
        }
        return Watch(argv[2], timeout);
    }
    Options options;
    if (!Parse(argc, argv, options)) {
        return Usage();
    }
    const std::wstring& command = options.command;
    if (command == L"gone") {
        const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(options.timeoutSeconds * 1000);
        while (FindWindowWithControl(options) != nullptr) {
            if (GetTickCount64() >= deadline) {
                std::fwprintf(stderr, L"uidriver: a window with control %d is still there\n", options.id);
                return 1;
            }
            Sleep(50);
        }
        return 0;
    }
    HWND page = WaitForWindow(options);
    if (page == nullptr) {
        std::fwprintf(stderr, L"uidriver: no visible window with control %d\n", options.id);
        return 1;
    }
    HWND control = GetDlgItem(page, options.id);
    if (command == L"wait") {
        std::wprintf(L"%p\n", static_cast<void*>(page));
        return 0;
    }
    if (command == L"click") {
        return Click(page, options.id) ? 0 : 1;
    }
    if (command == L"type") {
        Click(page, options.id);
        PressKey(VK_HOME);
        SendKey(VK_SHIFT, false);
        PressKey(VK_END);
        SendKey(VK_SHIFT, true);
        for (wchar_t c : options.text) {
            TypeCharacter(c);
        }
        Settle(page);
        return 0;
    }
    if (command == L"key") {
        SetForegroundWindow(page);
        PressKey(KeyByName(options.text));
        Settle(page);
        return 0;
    }
    if (command == L"close") {
        // What the close box sends.
        PostMessageW(page, WM_SYSCOMMAND, SC_CLOSE, 0);
        Settle(page);
        return 0;
    }
    if (command == L"text") {
        std::wprintf(L"%ls\n", WindowText(control).c_str());
        return 0;
    }
    if (command == L"state") {
        std::wprintf(L"%ls %ls\n", IsWindowVisible(control) ? L"visible" : L"hidden",
                     IsWindowEnabled(control) ? L"enabled" : L"disabled");
        return 0;
    }
    if (command == L"where") {
        // What a click at the middle of the control would reach.
        RECT r{};
        GetWindowRect(control, &r);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        HWND hit = WindowFromPoint(p);
        wchar_t name[64] = {};
        GetClassNameW(hit, name, static_cast<int>(std::size(name)));
        std::wprintf(L"%p %ls id=%d control=%p enabled=%d top=%p top-enabled=%d\n", static_cast<void*>(hit), name,
                     GetDlgCtrlID(hit), static_cast<void*>(control), IsWindowEnabled(hit),
                     static_cast<void*>(GetAncestor(hit, GA_ROOT)), IsWindowEnabled(GetAncestor(hit, GA_ROOT)));
        return 0;
    }
    if (command == L"rect") {
        RECT r{};
        GetWindowRect(control, &r);
        std::wprintf(L"%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    return Usage();
}
