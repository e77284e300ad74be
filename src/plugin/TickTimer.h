#pragma once
// The 16 ms multimedia timer that drives the frame tick. Its callback runs on the timer's own
// thread and only posts WM_TIMER to the bar; at most one tick message is ever queued, so a slow
// tick drops ticks instead of piling messages up.
#include <windows.h>

#include <atomic>

constexpr UINT kTickPeriodMs = 16;

class TickTimer {
public:
    // Starts the periodic event posting ticks to window. Returns 1 when the timer runs, 0 when the
    // system refused it (nothing is left running then).
    int start(HWND window);
    // Stops it; harmless when it is not running. Once it returns no callback is running or will
    // run, so the library may be unloaded.
    void stop();
    // Called by the window procedure when it has handled a tick message: the next event may post.
    void tickHandled() { tickQueued = 0; }

private:
    static void CALLBACK onTimerEvent(UINT, UINT, DWORD_PTR timer, DWORD_PTR, DWORD_PTR);

    UINT timerId = 0;
    UINT timerResolution = 0;
    // What the timer's thread reads: the window, set before the timer starts, and the queued mark,
    // shared with it and hence atomic. The tick message clears the mark to 0 rather than
    // decrementing it, so a stray WM_TIMER can never drive it below 0 and stop the ticks for good.
    HWND window = nullptr;
    std::atomic<int> tickQueued{0};
};
