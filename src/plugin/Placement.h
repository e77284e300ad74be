#pragma once
// Where the bar sits: on the host's main window or a window the user picked, moved with it on
// every tick; dragging it; finishing the pick of the window to attach to (BarPlacement.h starts it).
#include <windows.h>

// Frame tick steps: follow the attached or host window; hide or show the bar by the foreground
// window in Direct mode; the song-start show while the bar is meant to hide without lyrics.
void placeBar();
void applyForegroundRule();
void songStartShow();

// Shows the bar unless the user hid it with the show/hide hotkey; that hotkey's toggle.
void showLyricsWindow();
void toggleLyricsShown();

// Mouse handling of the bar window (lParam as the window procedure receives it).
void startDrag(LPARAM point);
void dragTo(LPARAM point);
void endDrag();

// The click that ends a window pick: the window under it is attached to, and its class and title
// become the settings that find it again.
void finishWindowPick(LPARAM point);
