// TQvWindowHook: sees the window messages of any windowed control before and after the
// control's own window procedure, without a new control class. Hooks on one window share one
// subclassing record (TControlHook); the last one attached sees a message first.
#pragma once

#include <vector>

#include <windows.h>

#include "framework/Component.h"
#include "framework/Events.h"
#include "framework/gui/Messages.h"

class TWinControl;
class TControlHook;

using THookMessageEvent = TClosure<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

// Posted to the hook list's window: re-install the record in LParam on its control's new
// window; free the record in LParam when no hook is attached to it any more.
constexpr UINT CM_RECREATEWINDOW = 0xB052;
constexpr UINT CM_DESTROYHOOK = 0xB053;

class TQvWindowHook : public TComponent {
public:
    explicit TQvWindowHook(TComponent* AOwner);
    ~TQvWindowHook() override;

    bool Active() const { return active_; }
    void SetActive(bool Value);
    // The watched control: the attached record's while attached, else the one set.
    TWinControl* WinControl() const;
    void SetWinControl(TWinControl* Value);

    void HookControl();
    void UnhookControl();
    // Whether the watched control is the hook's owner form. Form data keeps this instead of
    // WinControl (the pseudo-property "IsForm"), so the hook read back watches its own form,
    // whichever form that is.
    bool IsForm() const;
    bool NotIsForm() const { return !IsForm(); }
    // The hook list's utility window, or INVALID_HANDLE_VALUE while there is no list.
    static HWND GetHookHandle();

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoBeforeMessage(TMessage& Msg, bool& Handled);
    virtual void DoAfterMessage(TMessage& Msg, bool& Handled);

private:
    friend class TControlHook;
    TControlHook* DoUnhookControl();
    // "IsForm" read from form data: true makes the owner form the watched control.
    void ReadForm(bool Value);
    static void RegisterProps();

    bool active_ = true;
    TWinControl* control_ = nullptr;
    TControlHook* record_ = nullptr;
};
