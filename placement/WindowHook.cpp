// The window hook: one subclassing record per hooked window, a global list of them with a
// utility window for the deferred re-install and free, and the window procedure they share.
#include "placement/WindowHook.h"

#include <algorithm>
#include <map>
#include <memory>

#include "framework/TypeInfo.h"
#include "framework/gui/Application.h"
#include "framework/gui/Control.h"
#include "framework/gui/Form.h"
#include "framework/win/HelperWindow.h"

namespace {

LRESULT CALLBACK HookWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

// Where a hooked window's messages go next. An entry outlives its record when someone else
// subclassed the window after us: our procedure is then in the middle of the chain and must
// keep forwarding (Record nullptr) until the window is destroyed.
struct TChainLink {
    WNDPROC Previous = nullptr;
    TControlHook* Record = nullptr;
};

std::map<HWND, TChainLink>& Chains()
{
    static std::map<HWND, TChainLink> chains;
    return chains;
}

bool IsDestroying(const TComponent* Component)
{
    return Component && Component->ComponentState().Contains(csDestroying);
}

}  // namespace

// ---- TControlHook ---------------------------------------------------------------------------

class TControlHook {
public:
    explicit TControlHook(TWinControl* Control) : control_(Control) {}
    ~TControlHook();
    TControlHook(const TControlHook&) = delete;
    TControlHook& operator=(const TControlHook&) = delete;

    TWinControl* Control() const { return control_; }
    bool HasHooks() const { return !hooks_.empty(); }
    void SetControl(TWinControl* Value);
    void AddHook(TQvWindowHook* Hook);
    void RemoveHook(TQvWindowHook* Hook);
    void Install();
    void Uninstall();
    LRESULT WndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam, WNDPROC Previous);

private:
    TWinControl* control_;
    std::vector<TQvWindowHook*> hooks_;  // in the order attached
    HWND window_ = nullptr;              // the window our procedure is installed on
    bool destroying_ = false;
};

// ---- THookList --------------------------------------------------------------------------------

namespace {

LRESULT CALLBACK HookListWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);

class THookList {
public:
    THookList() : window_(CreateHelperWindow("QvWindowHookList", HookListWndProc, true)) {}
    ~THookList()
    {
        while (!records_.empty()) delete records_.back();
        if (window_) DestroyWindow(window_);
    }

    HWND Window() const { return window_; }
    bool Contains(TControlHook* Record) const
    {
        return std::find(records_.begin(), records_.end(), Record) != records_.end();
    }
    TControlHook* FindControlHook(TWinControl* Control) const
    {
        if (!Control) return nullptr;
        for (TControlHook* r : records_)
            if (r->Control() == Control) return r;
        return nullptr;
    }
    TControlHook* GetControlHook(TWinControl* Control)
    {
        if (TControlHook* found = FindControlHook(Control)) return found;
        auto record = std::make_unique<TControlHook>(Control);
        records_.push_back(record.get());
        return record.release();
    }
    void Remove(TControlHook* Record)
    {
        records_.erase(std::remove(records_.begin(), records_.end(), Record), records_.end());
    }

private:
    HWND window_;
    std::vector<TControlHook*> records_;
};

std::unique_ptr<THookList> HookList;

THookList& GetHookList()
{
    if (!HookList) HookList = std::make_unique<THookList>();
    return *HookList;
}

LRESULT CALLBACK HookListWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    try {
        auto* record = reinterpret_cast<TControlHook*>(LParam);
        if (Msg == CM_RECREATEWINDOW) {
            if (HookList && HookList->Contains(record)) record->Install();
            return 0;
        }
        if (Msg == CM_DESTROYHOOK) {
            if (HookList && HookList->Contains(record) && !record->HasHooks()) delete record;
            return 0;
        }
    } catch (...) {
        Application->HandleException(nullptr);
        return 0;
    }
    return DefWindowProcA(Window, Msg, WParam, LParam);
}

LRESULT CALLBACK HookWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    auto& chains = Chains();
    auto it = chains.find(Window);
    if (it == chains.end()) return DefWindowProcA(Window, Msg, WParam, LParam);
    const TChainLink link = it->second;
    if (link.Record) return link.Record->WndProc(Window, Msg, WParam, LParam, link.Previous);
    const LRESULT result = CallWindowProcA(link.Previous, Window, Msg, WParam, LParam);
    if (Msg == WM_NCDESTROY) chains.erase(Window);
    return result;
}

}  // namespace

TControlHook::~TControlHook()
{
    destroying_ = true;
    if (HookList) HookList->Remove(this);
    while (!hooks_.empty()) RemoveHook(hooks_.back());
    Uninstall();
    control_ = nullptr;
}

void TControlHook::SetControl(TWinControl* Value)
{
    if (Value == control_) return;
    Uninstall();
    control_ = Value;
    if (HasHooks()) Install();
}

void TControlHook::AddHook(TQvWindowHook* Hook)
{
    if (std::find(hooks_.begin(), hooks_.end(), Hook) == hooks_.end()) {
        hooks_.push_back(Hook);
        Hook->record_ = this;
        control_ = Hook->control_;
    }
    Install();
}

void TControlHook::RemoveHook(TQvWindowHook* Hook)
{
    Hook->record_ = nullptr;
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), Hook), hooks_.end());
    if (hooks_.empty()) {
        Uninstall();
        // Nothing watches the control any more; a control freed later must not be reached
        // through this record, which is freed on the hook list's next turn.
        control_ = nullptr;
    }
}

void TControlHook::Install()
{
    if (!control_ || destroying_ || hooks_.empty() || IsDestroying(control_) ||
        control_->ComponentState().Contains(csDesigning))
        return;
    const HWND window = control_->Handle();
    auto& chains = Chains();
    if (auto it = chains.find(window); it != chains.end()) {
        // Our procedure is still in this window's chain: take it over again.
        it->second.Record = this;
        window_ = window;
        return;
    }
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    chains[window] = TChainLink{current, this};
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookWndProc));
    window_ = window;
}

void TControlHook::Uninstall()
{
    if (!window_) return;
    auto& chains = Chains();
    auto it = chains.find(window_);
    if (it != chains.end() && it->second.Record == this) {
        const bool ours =
            IsWindow(window_) &&
            reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window_, GWLP_WNDPROC)) == &HookWndProc;
        if (ours) {
            SetWindowLongPtrA(window_, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(it->second.Previous));
            chains.erase(it);
        } else {
            // Someone subclassed the window after us and calls our procedure: cutting it out
            // would cut off the window's own procedure, so it forwards until the window goes.
            it->second.Record = nullptr;
        }
    }
    window_ = nullptr;
}

LRESULT TControlHook::WndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam, WNDPROC Previous)
{
    TMessage message{Msg, WParam, LParam, 0};
    bool handled = false;
    const bool phases = HasHooks() && !destroying_ && !IsDestroying(control_);
    // A handler may unhook itself or others: each phase runs over the hooks attached when
    // the message arrived.
    const std::vector<TQvWindowHook*> hooks = hooks_;
    auto runPhase = [&](bool before) {
        for (auto i = hooks.rbegin(); i != hooks.rend() && !handled; ++i) {
            if ((*i)->record_ != this) continue;
            try {
                if (before)
                    (*i)->DoBeforeMessage(message, handled);
                else
                    (*i)->DoAfterMessage(message, handled);
            } catch (...) {
                Application->HandleException(*i);
            }
        }
    };
    if (phases && Msg != WM_QUIT) runPhase(true);
    if (!handled || Msg == WM_DESTROY) {
        handled = false;
        try {
            WNDPROC next = Previous ? Previous : (control_ ? control_->DefWndProc() : nullptr);
            message.Result = next ? CallWindowProcA(next, Window, Msg, WParam, LParam)
                                  : DefWindowProcA(Window, Msg, WParam, LParam);
        } catch (...) {
            Application->HandleException(nullptr);
        }
        if (phases) runPhase(false);
    }
    if (Msg == WM_DESTROY) {
        const bool controlGoing = IsDestroying(control_);
        Uninstall();
        // The framework makes a new window when some properties change: hook that one too.
        if (HookList && !destroying_ && !controlGoing)
            PostMessageA(HookList->Window(), CM_RECREATEWINDOW, 0, reinterpret_cast<LPARAM>(this));
    } else if (Msg == WM_NCDESTROY) {
        // The window is gone whatever became of us in its chain.
        if (window_ == Window) window_ = nullptr;
        auto& chains = Chains();
        if (auto it = chains.find(Window); it != chains.end() && it->second.Record == this)
            chains.erase(it);
    }
    return message.Result;
}

// ---- TQvWindowHook ---------------------------------------------------------------------------

TQvWindowHook::TQvWindowHook(TComponent* AOwner) : TComponent(AOwner) { RegisterProps(); }

void TQvWindowHook::RegisterProps()
{
    static bool registered = false;
    if (registered) return;
    registered = true;
    auto active = BoolProp<TQvWindowHook>(
        "Active", [](TQvWindowHook* h) { return h->Active(); },
        [](TQvWindowHook* h, bool v) { h->SetActive(v); });
    auto winControl = ObjProp<TQvWindowHook>(
        "WinControl", [](TQvWindowHook* h) -> TObject* { return h->WinControl(); },
        [](TQvWindowHook* h, TObject* v) { h->SetWinControl(dynamic_cast<TWinControl*>(v)); },
        true);
    winControl.Stored = [](const TObject* o) {
        return static_cast<const TQvWindowHook*>(o)->NotIsForm();
    };
    auto isForm = BoolProp<TQvWindowHook>(
        "IsForm", [](TQvWindowHook* h) { return h->IsForm(); },
        [](TQvWindowHook* h, bool v) { h->ReadForm(v); });
    // Written only when true: a hook of no form has nothing to say here.
    isForm.Stored = [](const TObject* o) { return static_cast<const TQvWindowHook*>(o)->IsForm(); };
    RegisterPublished<TQvWindowHook>({active, winControl, isForm});
}

TQvWindowHook::~TQvWindowHook()
{
    Destroying();
    SetActive(false);
    SetWinControl(nullptr);
}

void TQvWindowHook::SetActive(bool Value)
{
    if (Value == active_) return;
    if (Value)
        HookControl();
    else
        UnhookControl();
}

void TQvWindowHook::HookControl()
{
    if (control_ && !IsDestroying(this)) GetHookList().GetControlHook(control_)->AddHook(this);
    active_ = true;
}

void TQvWindowHook::UnhookControl()
{
    DoUnhookControl();
    active_ = false;
}

TControlHook* TQvWindowHook::DoUnhookControl()
{
    TControlHook* record = record_;
    if (record) record->RemoveHook(this);
    active_ = false;
    // The record may be running a message right now: it is freed on the list's next turn.
    if (record && !record->HasHooks() && HookList)
        PostMessageA(HookList->Window(), CM_DESTROYHOOK, 0, reinterpret_cast<LPARAM>(record));
    return record;
}

TWinControl* TQvWindowHook::WinControl() const
{
    return record_ && record_->Control() ? record_->Control() : control_;
}

void TQvWindowHook::SetWinControl(TWinControl* Value)
{
    if (Value == WinControl()) return;
    const bool wasActive = active_;
    DoUnhookControl();
    if (control_) RemoveFreeNotification(control_);
    control_ = Value;
    if (Value) FreeNotification(Value);
    if (wasActive) HookControl();
}

bool TQvWindowHook::IsForm() const
{
    return WinControl() && WinControl() == Owner() && dynamic_cast<TForm*>(Owner());
}

void TQvWindowHook::ReadForm(bool Value)
{
    if (auto* form = dynamic_cast<TForm*>(Owner()); Value && form) SetWinControl(form);
}

HWND TQvWindowHook::GetHookHandle()
{
    return HookList ? HookList->Window() : static_cast<HWND>(INVALID_HANDLE_VALUE);
}

void TQvWindowHook::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && (AComponent == control_ || AComponent == Owner()))
        SetWinControl(nullptr);
}

void TQvWindowHook::DoBeforeMessage(TMessage& Msg, bool& Handled)
{
    if (BeforeMessage) BeforeMessage(this, Msg, Handled);
}

void TQvWindowHook::DoAfterMessage(TMessage& Msg, bool& Handled)
{
    if (AfterMessage) AfterMessage(this, Msg, Handled);
}
