// TThread: a worker thread created suspended, with a blocking Synchronize that runs a method
// on the main thread. The main thread serves Synchronize from any message loop it is in
// (its own, a nested pump, a modal box's or dialog's), through a hidden window.
#pragma once

#include <atomic>
#include <exception>

#include "framework/Events.h"
#include "framework/Object.h"

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TThreadMethod = TClosure<void()>;

class TThread : public TObject {
public:
    // Always created suspended: a thread started in the base constructor would run Execute
    // before the derived object exists. Call Resume once construction is complete.
    TThread();
    // Deleting a running thread from outside asks it to stop and waits for it (so never from
    // inside its own synchronized method, where that wait could not end). A derived
    // class whose Execute uses its own members stops the thread in its own destructor
    // (Terminate(); WaitFor();), because by the time this one runs they are gone.
    ~TThread() override;

    void Resume();  // starts the thread (later calls do nothing)
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Waits for Execute to end and returns ReturnValue. On the main thread it keeps serving
    // Synchronize calls (and sent messages) while it waits. Raises EThread when called for
    // a thread whose own synchronized method is running on the caller's stack (that wait
    // could never end), or for a FreeOnTerminate thread.
    int WaitFor();

    // When true, the thread object deletes itself after Execute and OnTerminate.
    bool FreeOnTerminate = false;
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority Value);
    bool Finished() const { return finished_; }
    unsigned long ThreadID() const { return threadId_; }
    void* Handle() const { return handle_; }
    // The exception that ended Execute, if one did; the thread itself ends normally.
    std::exception_ptr FatalException() const { return fatal_; }

    // Called on the main thread (through Synchronize) after Execute, Sender the thread.
    TNotifyEvent OnTerminate;

protected:
    virtual void Execute() = 0;
    // Runs Method on the main thread and waits until it has run. An exception the method
    // lets escape is caught on the main thread and raised again here, in the worker.
    // Called on the main thread itself, the method simply runs.
    void Synchronize(const TThreadMethod& Method);
    template <class C>
    void Synchronize(void (C::*Method)())
    {
        Synchronize(TThreadMethod(static_cast<C*>(this), Method));
    }
    virtual void DoTerminate();

    int ReturnValue = 0;

private:
    static unsigned __stdcall ThreadProc(void* Parameter);
    void CallOnTerminate() { OnTerminate(this); }
    void WaitForEnd();

    void* handle_ = nullptr;
    unsigned long threadId_ = 0;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool started_ = false;
    TThreadPriority priority_ = tpNormal;
    std::exception_ptr fatal_;
};

// Makes what worker threads reach the main thread through (a hidden window and an event) and
// takes the calling thread as the main thread. The application's start-up calls it once,
// before any worker exists; later calls do nothing.
void InitSynchronize();

// Runs the Synchronize calls waiting for the main thread; for pumps that want to serve them
// directly rather than through the hidden window's message. Main thread only (else EThread).
// Returns whether any call ran. Timeout (ms) waits that long for a first call to arrive.
bool CheckSynchronize(int Timeout = 0);

// The thread that serves Synchronize: the one that ran InitSynchronize.
unsigned long MainThreadID();

// No exception may cross a system callback (a window procedure, a timer, a thread's hand-over):
// each catches everything and calls HandleCallbackException inside its catch block, which
// passes the current exception to the sink the application installed at its start (to show
// it) and swallows whatever that raises. With no sink the exception is dropped.
using TCallbackExceptionSink = void (*)(TObject* Sender);
void SetCallbackExceptionSink(TCallbackExceptionSink Sink);
void HandleCallbackException(TObject* Sender) noexcept;
