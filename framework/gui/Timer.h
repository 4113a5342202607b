// TTimer: OnTimer every Interval milliseconds while Enabled, from the message loop. Setting
// Enabled to true on a running timer changes nothing (the interval is not restarted);
// changing Interval restarts it.
#pragma once

#include <windows.h>

#include "framework/Component.h"
#include "framework/Events.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned v);
    TNotifyEvent OnTimer;
    // Fires OnTimer (the platform's WM_TIMER lands here).
    void Timer();

private:
    void Update();
    bool enabled_ = true;
    unsigned interval_ = 1000;
    bool running_ = false;
};
