#pragma once
// The borderless, topmost tool window the lyrics are shown in. A Unicode window: the characters
// typed on it arrive as UTF-16, whatever the system's ANSI code page.
#include <windows.h>

extern const wchar_t kBarWindowClass[];  // "SorvaneVis"

// Posted to the bar by the plug-in's workers: results wait in the worker's mailbox.
constexpr UINT kLyricsLookedUpMessage = WM_APP + 1;
constexpr UINT kLinesPreparedMessage = WM_APP + 2;
constexpr UINT kLyricsFoundOnlineMessage = WM_APP + 3;

int registerBarClass(HINSTANCE instance);
void unregisterBarClass(HINSTANCE instance);
// Creates the bar at the host's top-left corner plus the create offset, width x height; in desktop
// mode the desktop window (DesktopWindow.h).
HWND createBarWindow(HINSTANCE instance);
