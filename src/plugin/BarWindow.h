#pragma once
// The borderless, topmost tool window the lyrics are shown in.
#include <windows.h>

extern const char kBarWindowClass[];  // "SorvaneVis"

int registerBarClass(HINSTANCE instance);
void unregisterBarClass(HINSTANCE instance);
// Creates the bar at the host's top-left corner plus the create offset, width x height.
HWND createBarWindow(HINSTANCE instance);
