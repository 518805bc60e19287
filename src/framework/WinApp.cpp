#include "framework/WinApp.h"

#include <atomic>

#include "framework/Wnd.h"

namespace fw {

namespace {

std::atomic<CWinApp*> g_app{nullptr};

}  // namespace

CWinApp* AfxGetApp() { return g_app.load(); }

CWinApp::CWinApp() : instance_(GetModuleHandleW(nullptr)) {
    // The application object lives for the whole run; it is not deleted
    // when its loop ends.
    SetAutoDelete(false);
    CWinApp* expected = nullptr;
    if (!g_app.compare_exchange_strong(expected, this)) {
        OutputDebugStringW(L"fw: a second application object was made; the first one stays the application\n");
    }
}

CWinApp::~CWinApp() {
    CWinApp* self = this;
    g_app.compare_exchange_strong(self, nullptr);
    UnbindFromCurrentThread();
}

void CWinApp::SetStartupValues(HINSTANCE instance, const wchar_t* commandLine) {
    instance_ = instance != nullptr ? instance : GetModuleHandleW(nullptr);
    commandLine_ = commandLine != nullptr ? commandLine : L"";
}

bool CWinApp::InitInstance() {
    if ((restartFlags_ & kRestartSupport) != 0) {
        RegisterApplicationRestart(commandLine_.empty() ? nullptr : commandLine_.c_str(), 0);
    }
    return true;
}

int CWinApp::Run() {
    BindToCurrentThread();
    int code;
    if (InitInstance()) {
        code = CWinThread::Run();
    } else {
        CWnd* main = GetMainWnd();
        if (main != nullptr && main->GetSafeHwnd() != nullptr) {
            main->DestroyWindow();
        }
        code = ExitInstance();
    }
    UnbindFromCurrentThread();
    return code;
}

int RunApplication(HINSTANCE instance, const wchar_t* commandLine) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        OutputDebugStringW(L"fw: no application object to run\n");
        return kExitNoApplication;
    }
    app->SetStartupValues(instance, commandLine);
    return app->Run();
}

}  // namespace fw
