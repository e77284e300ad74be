#include "plugin/TickTimer.h"

#include <mmsystem.h>

// The timer travels in the user data, so the timer's thread reads no plug-in state but its own.
void CALLBACK TickTimer::onTimerEvent(UINT, UINT, DWORD_PTR timer, DWORD_PTR, DWORD_PTR) {
    TickTimer& self = *reinterpret_cast<TickTimer*>(timer);
    if (self.tickQueued.exchange(1) != 0) return;
    // A refused post (the queue is full, the window is gone) queues no tick that could clear the
    // mark again: clear it here, or no event would ever post again.
    if (!PostMessageA(self.window, WM_TIMER, 0, 0)) self.tickQueued = 0;
}

int TickTimer::start(HWND target) {
    if (timerId) return 1;
    TIMECAPS caps = {};
    timeGetDevCaps(&caps, sizeof caps);
    timerResolution = caps.wPeriodMin;
    timeBeginPeriod(timerResolution);
    tickQueued = 0;
    window = target;
    // Killing the event waits for a callback in flight, so none runs on once quit has returned
    // and the host may unload the library.
    timerId = timeSetEvent(kTickPeriodMs, timerResolution, onTimerEvent, reinterpret_cast<DWORD_PTR>(this),
                           TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
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
