// The application object: the forms it creates and owns, the message loop, and the one
// place exceptions end up.
#pragma once

// No exception crosses a Win32 callback: window procedures, timers and the framework's other
// callbacks catch everything and call HandleException, which shows it (or gives it to
// OnException) and lets the program run on.

#include <functional>
#include <new>
#include <vector>

#include <windows.h>

#include "framework/Component.h"
#include "framework/Events.h"
#include "framework/Exceptions.h"
#include "framework/win/Thread.h"  // HandleCallbackException, for every callback's catch

class TForm;

using TExceptionEvent = TClosure<void(TObject* Sender, Exception& E)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // The start-up: makes the main thread's hand-over window for worker threads.
    void Initialize();

    // Creates a form owned by the application. Reference (the form's global pointer) is set
    // before the form's constructor runs, so the constructor's handlers can already use it.
    // The first form created becomes the main form.
    template <class T>
    void CreateForm(T*& Reference)
    {
        void* memory = ::operator new(sizeof(T));
        Reference = static_cast<T*>(memory);
        T* form = nullptr;
        try {
            form = new (memory) T(this);
        } catch (...) {
            Reference = nullptr;
            ::operator delete(memory);
            throw;
        }
        FormCreated(form);
    }

    // Shows the main form and handles messages until Terminate (closing the main form).
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // For tests that run the loop more than once in one process.
    void ClearTerminated() { terminated_ = false; }

    // Handles every message waiting now, then returns (never blocks). WM_QUIT ends the
    // application; keys of modeless dialogs go to their dialogs.
    void ProcessMessages();
    // The same, but asks More() before each message and stops when it says no.
    void ProcessMessagesWhile(const std::function<bool()>& More);
    // Waits for one message (when none is waiting) and handles what arrived.
    void HandleMessage();

    // Call from inside a catch block: the current exception goes to OnException, or to
    // ShowException. EAbort is swallowed.
    void HandleException(TObject* Sender);
    // The exception display: a message box with the exception's message.
    void ShowException(Exception& E);
    TExceptionEvent OnException;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    // Fired just before a common dialog runs its own loop (Sender the dialog) and when it has
    // ended it: while the dialog is built, and while it handles some of its own messages, the
    // thread's queue is not served.
    TNotifyEvent OnModalBegin;
    TNotifyEvent OnModalEnd;

    // A message box with Title as its caption when Caption is empty (through the dialogs).
    int MessageBox(const String& Text, const String& Caption, UINT Flags);

    String Title;
    bool ShowMainForm = true;
    TForm* MainForm() const { return mainForm_; }
    String ExeName() const;
    HINSTANCE Instance() const { return GetModuleHandleA(nullptr); }

    // Modeless dialogs (find, replace) whose keys ProcessMessages routes to them.
    void AddModelessDialog(HWND Dialog);
    void RemoveModelessDialog(HWND Dialog);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void FormCreated(TForm* Form);
    bool ProcessMessage(MSG& Msg);
    void Idle();

    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    std::vector<HWND> modeless_;
};

// The one application object, made before main runs.
extern TApplication* Application;
