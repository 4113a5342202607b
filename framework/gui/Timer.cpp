// Timers as platform timers of one hidden window; the timer's id is the object's address.
#include "framework/gui/Timer.h"
#include "framework/gui/GuiTexts.h"

#include <set>

#include "framework/Exceptions.h"
#include "framework/win/HelperWindow.h"
#include "framework/gui/Application.h"

namespace {

std::set<TTimer*>& LiveTimers()
{
    static auto* timers = new std::set<TTimer*>;
    return *timers;
}

LRESULT CALLBACK TimerWndProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == WM_TIMER) {
        auto* timer = reinterpret_cast<TTimer*>(w);
        // A WM_TIMER already queued for a timer freed since must not reach it.
        if (LiveTimers().count(timer)) {
            try {
                timer->Timer();
            } catch (...) {
                HandleCallbackException(timer);
            }
        }
        return 0;
    }
    return DefWindowProcA(h, msg, w, l);
}

HWND TimerWindow()
{
    static HWND window = CreateHelperWindow("QvTimerWindow", TimerWndProc);
    return window;
}

}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    LiveTimers().insert(this);
    Update();
}

TTimer::~TTimer()
{
    LiveTimers().erase(this);
    if (running_) KillTimer(TimerWindow(), reinterpret_cast<UINT_PTR>(this));
}

void TTimer::SetEnabled(bool v)
{
    if (v == enabled_) return;
    enabled_ = v;
    Update();
}

void TTimer::SetInterval(unsigned v)
{
    if (v == interval_) return;
    interval_ = v;
    if (running_) {
        KillTimer(TimerWindow(), reinterpret_cast<UINT_PTR>(this));
        running_ = false;
    }
    Update();
}

void TTimer::Update()
{
    const bool wanted = enabled_ && interval_ > 0;
    if (wanted == running_) return;
    if (wanted) {
        if (!SetTimer(TimerWindow(), reinterpret_cast<UINT_PTR>(this), interval_, nullptr))
            throw EOutOfResources(String(GuiText::NoTimers));
    } else {
        KillTimer(TimerWindow(), reinterpret_cast<UINT_PTR>(this));
    }
    running_ = wanted;
}

void TTimer::Timer()
{
    if (enabled_ && OnTimer) OnTimer(this);
}
