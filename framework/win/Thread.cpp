// TThread and the Synchronize hand-over. Requests wait in one queue; each is announced by a
// message posted to a hidden message-only window of the main thread, so whatever loop the
// main thread is in dispatches it, and by an event for waits that serve the queue directly.
#include "framework/win/Thread.h"
#include "framework/win/HelperWindow.h"

#include <windows.h>
#include <process.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

#include "framework/Exceptions.h"

namespace {

struct SyncRequest {
    TThread* thread;
    const TThreadMethod& method;
    std::exception_ptr error;
    bool done = false;
};

const UINT WM_QV_SYNCHRONIZE = WM_APP + 0x0E51;

std::mutex queueLock;
std::condition_variable requestDone;
std::deque<SyncRequest*> pending;

DWORD mainThreadId = 0;
HANDLE syncEvent = nullptr;  // auto-reset: set whenever a request is queued
HWND syncWindow = nullptr;
// Threads whose synchronized method is running on the main thread's stack, innermost last.
std::vector<TThread*> running;

LRESULT CALLBACK SyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QV_SYNCHRONIZE) {
        // Nothing may leave a window procedure: the methods' own exceptions are caught and
        // handed to their workers inside CheckSynchronize.
        try {
            CheckSynchronize();
        } catch (...) {
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TCallbackExceptionSink exceptionSink = nullptr;

int ToWin32Priority(TThreadPriority p)
{
    static const int map[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,
                              THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                              THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                              THREAD_PRIORITY_TIME_CRITICAL};
    return map[p];
}

bool IsRunningOnMainStack(const TThread* thread)
{
    for (TThread* t : running)
        if (t == thread) return true;
    return false;
}

}  // namespace

void InitSynchronize()
{
    if (mainThreadId != 0) return;
    mainThreadId = GetCurrentThreadId();
    syncEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    syncWindow = CreateHelperWindow("QvSynchronizeWindow", SyncWindowProc, true);
}

unsigned long MainThreadID() { return mainThreadId; }

void SetCallbackExceptionSink(TCallbackExceptionSink Sink) { exceptionSink = Sink; }

void HandleCallbackException(TObject* Sender) noexcept
{
    try {
        if (exceptionSink) exceptionSink(Sender);
    } catch (...) {
    }
}

bool CheckSynchronize(int Timeout)
{
    if (GetCurrentThreadId() != mainThreadId)
        throw EThread(String("CheckSynchronize called from a thread other than the main thread"));
    if (Timeout > 0) WaitForSingleObject(syncEvent, static_cast<DWORD>(Timeout));
    bool ran = false;
    for (;;) {
        SyncRequest* request;
        {
            std::lock_guard<std::mutex> hold(queueLock);
            if (pending.empty()) break;
            request = pending.front();
            pending.pop_front();
        }
        running.push_back(request->thread);
        try {
            request->method();
        } catch (...) {
            request->error = std::current_exception();
        }
        running.pop_back();
        {
            // The request lives on the worker's stack: once done is set it may be gone.
            std::lock_guard<std::mutex> hold(queueLock);
            request->done = true;
        }
        requestDone.notify_all();
        ran = true;
    }
    return ran;
}

TThread::TThread()
{
    unsigned id = 0;
    handle_ = reinterpret_cast<void*>(
        _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id));
    if (!handle_) throw EThread("Thread creation error: %s", std::strerror(errno));
    threadId_ = id;
}

TThread::~TThread()
{
    if (handle_ && GetCurrentThreadId() != threadId_) {
        FreeOnTerminate = false;
        Terminate();
        // A thread never started still runs to its end (without Execute) so it exits cleanly.
        Resume();
        WaitForEnd();
    }
    if (handle_) CloseHandle(handle_);
}

void TThread::Resume()
{
    if (started_) return;
    started_ = true;
    ResumeThread(handle_);
}

void TThread::SetPriority(TThreadPriority Value)
{
    priority_ = Value;
    SetThreadPriority(handle_, ToWin32Priority(Value));
}

int TThread::WaitFor()
{
    if (FreeOnTerminate) throw EThread(String("Cannot wait for a thread that frees itself"));
    if (!started_) throw EThread(String("Cannot wait for a thread that was never started"));
    if (GetCurrentThreadId() == threadId_) throw EThread(String("A thread cannot wait for itself"));
    WaitForEnd();
    return ReturnValue;
}

void TThread::WaitForEnd()
{
    if (GetCurrentThreadId() != mainThreadId) {
        WaitForSingleObject(handle_, INFINITE);
        return;
    }
    if (IsRunningOnMainStack(this))
        throw EThread(String("Cannot wait for a thread inside its own synchronized method"));
    // The thread may need the main thread (Synchronize, or a message it sends) to finish.
    HANDLE handles[2] = {handle_, syncEvent};
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) break;
        if (r == WAIT_OBJECT_0 + 1) {
            CheckSynchronize();
        } else if (r == WAIT_OBJECT_0 + 2) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // delivers the sent messages
        } else {
            WaitForSingleObject(handle_, INFINITE);
            break;
        }
    }
}

void TThread::Synchronize(const TThreadMethod& Method)
{
    if (GetCurrentThreadId() == mainThreadId) {
        Method();
        return;
    }
    // Without the start-up's window the request would wait for ever: say so instead.
    if (!syncWindow) throw EThread(String("Synchronize called before the main thread's start-up"));
    SyncRequest request{this, Method, nullptr, false};
    {
        std::lock_guard<std::mutex> hold(queueLock);
        pending.push_back(&request);
    }
    SetEvent(syncEvent);
    PostMessageA(syncWindow, WM_QV_SYNCHRONIZE, 0, 0);
    {
        std::unique_lock<std::mutex> hold(queueLock);
        requestDone.wait(hold, [&] { return request.done; });
    }
    if (request.error) std::rethrow_exception(request.error);
}

void TThread::DoTerminate()
{
    if (OnTerminate) Synchronize(&TThread::CallOnTerminate);
}

unsigned __stdcall TThread::ThreadProc(void* Parameter)
{
    auto* thread = static_cast<TThread*>(Parameter);
    try {
        if (!thread->terminated_) thread->Execute();
    } catch (...) {
        thread->fatal_ = std::current_exception();
    }
    bool freeThread = thread->FreeOnTerminate;
    unsigned result = static_cast<unsigned>(thread->ReturnValue);
    thread->finished_ = true;
    try {
        thread->DoTerminate();
    } catch (...) {
        if (!thread->fatal_) thread->fatal_ = std::current_exception();
    }
    if (freeThread) delete thread;
    return result;
}
