#include "plugin/TickTimer.h"

#include <mmsystem.h>

#include <atomic>

namespace {

UINT timerId = 0;
UINT timerResolution = 0;
// Shared with the timer thread, hence atomic. The tick message clears it to 0 rather than
// decrementing it, so a stray WM_TIMER can never drive it below 0 and stop the ticks for good.
std::atomic<int> tickQueued{0};

// The window travels in the user data, so the timer thread reads no plug-in state but the flag.
void CALLBACK onTimerEvent(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
    if (tickQueued.exchange(1) != 0) return;
    // A refused post (the queue is full, the window is gone) queues no tick that could clear the
    // mark again: clear it here, or no event would ever post again.
    if (!PostMessageA(reinterpret_cast<HWND>(window), WM_TIMER, 0, 0)) tickQueued = 0;
}

}  // namespace

int startTimer(HWND window) {
    if (timerId) return 1;
    TIMECAPS caps = {};
    timeGetDevCaps(&caps, sizeof caps);
    timerResolution = caps.wPeriodMin;
    timeBeginPeriod(timerResolution);
    tickQueued = 0;
    // Killing the event waits for a callback in flight, so none runs on once quit has returned
    // and the host may unload the library.
    timerId = timeSetEvent(kTickPeriodMs, timerResolution, onTimerEvent, reinterpret_cast<DWORD_PTR>(window),
                           TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
    if (timerId) return 1;
    timeEndPeriod(timerResolution);
    return 0;
}

void stopTimer() {
    // Stopping twice (WM_CLOSE, then quit) must not end the resolution request twice.
    if (!timerId) return;
    timeKillEvent(timerId);
    timerId = 0;
    timeEndPeriod(timerResolution);
}

void tickHandled() { tickQueued = 0; }
