#pragma once
// The 16 ms multimedia timer that drives the frame tick. Its callback runs on the timer's own
// thread and only posts WM_TIMER to the bar; at most one tick message is ever queued, so a slow
// tick drops ticks instead of piling messages up.
#include <windows.h>

constexpr UINT kTickPeriodMs = 16;

// Starts the periodic event posting ticks to window. Returns 1 when the timer runs, 0 when the
// system refused it (nothing is left running then).
int startTimer(HWND window);
// Stops it; harmless when it is not running. Once it returns no callback is running or will run,
// so the library may be unloaded.
void stopTimer();
// Called by the window procedure when it has handled a tick message: the next event may post.
void tickHandled();
