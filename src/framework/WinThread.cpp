#include "framework/WinThread.h"

#include <process.h>

#include "framework/MessagePump.h"

namespace fw {

namespace {

thread_local CWinThread* t_thread = nullptr;

struct Startup {
    CWinThread* thread;
    HANDLE queueReady;
};

}  // namespace

CWinThread* AfxGetThread() { return t_thread; }

CWnd* AfxGetMainWnd() { return t_thread != nullptr ? t_thread->GetMainWnd() : nullptr; }

CWinThread::~CWinThread() {
    if (t_thread == this) {
        t_thread = nullptr;
    }
}

bool CWinThread::CreateThread(int priority, unsigned stackSize) {
    if (thread_) {
        return false;
    }
    UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready) {
        return false;
    }
    Startup startup{this, ready.Get()};
    unsigned id = 0;
    // Suspended until the members are set: the new thread reads them.
    auto handle = reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, stackSize, &CWinThread::ThreadEntry, &startup, CREATE_SUSPENDED, &id));
    if (handle == nullptr) {
        return false;
    }
    thread_.Reset(handle);
    threadId_ = id;
    SetThreadPriority(handle, priority);
    ResumeThread(handle);
    // From here the object may be gone as soon as the wait returns, when the
    // thread ends at once and deletes itself; only locals are used.
    HANDLE waits[] = {ready.Get(), handle};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    return true;
}

unsigned __stdcall CWinThread::ThreadEntry(void* parameter) {
    auto* startup = static_cast<Startup*>(parameter);
    CWinThread* self = startup->thread;
    t_thread = self;
    // Any message call makes the queue; until then posts to the thread fail.
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(startup->queueReady);  // startup is the creator's: not touched again

    int code = self->InitInstance() ? self->Run() : self->ExitInstance();
    t_thread = nullptr;
    if (self->AutoDelete()) {
        delete self;
    }
    return static_cast<unsigned>(code);
}

bool CWinThread::InitInstance() { return false; }

int CWinThread::ExitInstance() { return exitCode_; }

int CWinThread::Run() {
    MessageLoop();
    return ExitInstance();
}

void CWinThread::MessageLoop() {
    inMessageLoop_ = true;
    MSG msg;
    for (;;) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            inMessageLoop_ = false;
            SetExitCode(static_cast<int>(msg.wParam));
            return;
        }
        if (got == -1) {
            // Only an invalid filter window gives -1; none is passed here.
            continue;
        }
        PumpMessage(msg);
    }
}

bool CWinThread::PreTranslateMessage(MSG&) { return false; }

bool CWinThread::DispatchThreadMessage(const MSG& msg) {
    LRESULT result = 0;
    return DispatchToMap(EntryKind::ThreadMessage, 0, msg.message, MessageArgs{msg.message, msg.wParam, msg.lParam},
                         result);
}

UniqueHandle CWinThread::DuplicateThreadHandle() const {
    HANDLE copy = nullptr;
    if (!thread_ || !DuplicateHandle(GetCurrentProcess(), thread_.Get(), GetCurrentProcess(), &copy, 0, FALSE,
                                     DUPLICATE_SAME_ACCESS)) {
        return UniqueHandle();
    }
    return UniqueHandle(copy);
}

bool CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostThreadMessageW(threadId_, message, wParam, lParam) != FALSE;
}

void CWinThread::BindToCurrentThread() {
    t_thread = this;
    threadId_ = GetCurrentThreadId();
}

void CWinThread::UnbindFromCurrentThread() {
    if (t_thread == this) {
        t_thread = nullptr;
    }
}

}  // namespace fw
