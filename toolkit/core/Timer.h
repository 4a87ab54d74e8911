#pragma once
// Runs OnTimer every Interval milliseconds while enabled, from the message loop.
#include "toolkit/core/Component.h"

#include <windows.h>

class TTimer : public TComponent {
public:
    TTimer() = default;
    ~TTimer() override;

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const noexcept { return interval_; }
    void SetInterval(unsigned milliseconds);
    // The timer runs only with a handler, so setting it may start it.
    void SetOnTimer(TNotifyEvent handler);

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    void UpdateTimer();
    void Stop() noexcept;

    bool enabled_ = true;
    unsigned interval_ = 1000;
    TNotifyEvent onTimer_;
    UINT_PTR id_ = 0;
};
