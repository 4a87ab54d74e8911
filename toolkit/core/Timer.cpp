#include "toolkit/core/Timer.h"

#include "toolkit/core/Application.h"

#include <map>

namespace {
// Thread timers carry only their id; this maps it back to the object. Never destroyed, since
// timers of forms that the application object owns stop after other statics are gone.
std::map<UINT_PTR, TTimer*>& RunningTimers()
{
    static auto* timers = new std::map<UINT_PTR, TTimer*>;
    return *timers;
}
} // namespace

TTimer::~TTimer()
{
    Stop();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned milliseconds)
{
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::Stop() noexcept
{
    if (!id_)
        return;
    KillTimer(nullptr, id_);
    RunningTimers().erase(id_);
    id_ = 0;
}

void TTimer::UpdateTimer()
{
    Stop();
    if (!enabled_ || interval_ == 0 || !onTimer_)
        return;
    id_ = SetTimer(nullptr, 0, interval_, &TTimer::TimerProc);
    if (!id_)
        throw EOSError("Not enough timers available");
    RunningTimers()[id_] = this;
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept
{
    Guarded([id] {
        const auto it = RunningTimers().find(id);
        if (it == RunningTimers().end() || !it->second->onTimer_)
            return;
        // The handler may destroy the timer; it runs from a copy.
        const TNotifyEvent handler = it->second->onTimer_;
        handler(it->second);
    });
}
