// CWinThread: a user-interface thread with a message loop and a map for
// thread messages (PostThreadMessage, no window).
//
//   class CWorker : public fw::CWinThread {
//       bool InitInstance() override { return true; }   // enter the loop
//       void OnRun(WPARAM, LPARAM lParam);
//       const fw::MessageMap& GetMessageMap() const override {
//           static const fw::MessageMap map(CWinThread::GetMessageMap(), {
//               fw::on::ThreadMessage(WM_MY_RUN, &CWorker::OnRun),
//           });
//           return map;
//       }
//   };
//   CWorker* worker = fw::BeginThread<CWorker>();   // queue exists on return
//   worker->PostThreadMessage(WM_MY_RUN, 0, reinterpret_cast<LPARAM>(hwnd));
//   ... later: worker->PostThreadMessage(WM_QUIT, 0, 0) and forget the pointer:
//   after WM_QUIT the thread runs ExitInstance and deletes its object.
#pragma once

#include <windows.h>

#include "framework/Handles.h"
#include "framework/MessageMap.h"

namespace fw {

class CWnd;

class CWinThread : public CCmdTarget {
public:
    CWinThread() = default;
    ~CWinThread() override;

    // Starts the thread and returns once its message queue exists, so that
    // PostThreadMessage right afterwards is never lost. False when the
    // thread could not be started (the object is then not deleted).
    bool CreateThread(int priority = THREAD_PRIORITY_NORMAL, unsigned stackSize = 0);

    // On the new thread: true enters the message loop, false goes straight
    // to ExitInstance.
    virtual bool InitInstance();
    // After the loop (or a false InitInstance); its value is the thread's
    // exit code. The default returns ExitCode().
    virtual int ExitInstance();
    // The message loop until WM_QUIT, then ExitInstance.
    virtual int Run();
    // Sees every message of this thread's loops first (modal dialogs'
    // included); true swallows it.
    virtual bool PreTranslateMessage(MSG& msg);

    DWORD ThreadId() const { return threadId_; }
    HANDLE ThreadHandle() const { return thread_.Get(); }
    // A handle of one's own to wait on: ThreadHandle() closes with the
    // object, which an auto-deleting thread deletes itself.
    UniqueHandle DuplicateThreadHandle() const;
    bool PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

    // Auto-delete (the default): the thread deletes this object when it ends.
    bool AutoDelete() const { return autoDelete_; }
    void SetAutoDelete(bool autoDelete) { autoDelete_ = autoDelete; }

    // The thread's main window: dialogs opened on this thread without a
    // parent are owned by it, and its destruction ends the message loop
    // while that runs.
    CWnd* GetMainWnd() const { return mainWnd_; }
    void SetMainWnd(CWnd* wnd) { mainWnd_ = wnd; }

    // The exit value; WM_QUIT's wParam sets it.
    int ExitCode() const { return exitCode_; }
    void SetExitCode(int code) { exitCode_ = code; }

    // True while MessageLoop runs (modal loops inside it included).
    bool IsInMessageLoop() const { return inMessageLoop_; }

    // A thread message: the map's ThreadMessage entries. True when handled.
    bool DispatchThreadMessage(const MSG& msg);

protected:
    // The loop itself; returns on WM_QUIT (after SetExitCode with its wParam).
    void MessageLoop();
    // Binds this object to the calling thread (the application's own thread).
    void BindToCurrentThread();
    void UnbindFromCurrentThread();

private:
    static unsigned __stdcall ThreadEntry(void* startup);

    UniqueHandle thread_;
    DWORD threadId_ = 0;
    bool autoDelete_ = true;
    CWnd* mainWnd_ = nullptr;
    int exitCode_ = 0;
    bool inMessageLoop_ = false;
};

// The CWinThread object of the calling thread (the application object on
// its thread), or null.
CWinThread* AfxGetThread();

// The calling thread's main window, or null.
CWnd* AfxGetMainWnd();

// Creates a T (a CWinThread) and starts it; null when the thread could not
// start (the object is deleted then).
template <class T, class... Args>
T* BeginThread(Args&&... args) {
    T* thread = new T(std::forward<Args>(args)...);
    if (!thread->CreateThread()) {
        delete thread;
        return nullptr;
    }
    return thread;
}

}  // namespace fw
