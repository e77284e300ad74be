#include "plugin/TickTimer.h"

#include <mmsystem.h>

// The timer travels in the user data, so the timer's thread reads no plug-in state but its own.
void CALLBACK TickTimer::onTimerEvent(UINT, UINT, DWORD_PTR timer, DWORD_PTR, DWORD_PTR) {
    TickTimer& self = *reinterpret_cast<TickTimer*>(timer);
    if (self.tickQueued.exchange(1) == 0) PostMessageA(self.window, WM_TIMER, 0, 0);
}

int TickTimer::start(HWND target) {
    if (timerId) return 1;
    TIMECAPS caps = {};
    timeGetDevCaps(&caps, sizeof caps);
    timerResolution = caps.wPeriodMin;
    timeBeginPeriod(timerResolution);
    tickQueued = 0;
    window = target;
    timerId = timeSetEvent(kTickPeriodMs, timerResolution, onTimerEvent, reinterpret_cast<DWORD_PTR>(this),
                           TIME_PERIODIC);
    if (timerId) return 1;
    timeEndPeriod(timerResolution);
    return 0;
}

void TickTimer::stop() {
    // Stopping twice (WM_CLOSE, then quit) must not end the resolution request twice.
    if (!timerId) return;
    timeKillEvent(timerId);
    timerId = 0;
    timeEndPeriod(timerResolution);
}
