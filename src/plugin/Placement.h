#pragma once
// Where the bar sits: on the host's main window or a window the user picked, moved with it on
// every tick; dragging it; picking the window to attach to; showing and hiding it.
#include <windows.h>

#include <cstdint>

extern int barShown;          // only the Direct foreground rule changes it
extern int32_t lset2Counter;  // position threshold of the song-start show

// Frame tick steps: follow the attached or host window; hide or show the bar by the foreground
// window in Direct mode; the song-start show while the bar is meant to hide without lyrics.
void placeBar();
void applyForegroundRule();
void songStartShow();

void showBar();
void hideBar();

// Mouse handling of the bar window (lParam as the window procedure receives it).
void startDrag(LPARAM point);
void dragTo(LPARAM point);
void endDrag();

// The window pick: the next left click, wherever it is, names the window the bar attaches to.
void startWindowPick();
int pickModeOn();
void applyPickCursor();
void finishWindowPick(LPARAM point);

// createOffsetX/Y: where the bar window is created relative to the host's corner.
void setCreateOffset(int32_t x, int32_t y);
POINT createOffset();
