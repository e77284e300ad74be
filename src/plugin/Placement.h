#pragma once
// Where the bar sits: on the host's main window or a window the user picked, moved with it on
// every tick; dragging it; picking the window to attach to; showing and hiding it.
#include <windows.h>

#include <cstdint>

// The placement's own part of the plug-in's state.
struct BarPlacement {
    int barShown = 1;          // only the Direct foreground rule changes it
    int32_t lset2Counter = 0;  // position threshold of the song-start show
    int32_t lastTargetX = 0, lastTargetY = 0;
    // Where the bar window is created relative to the host's corner; drags and the reset key keep
    // it current.
    int32_t createOffsetX = 21, createOffsetY = 40;
    int dragging = 0;
    POINT dragBarOrigin = {}, dragPointerOrigin = {};
    int pickMode = 0;  // the next left click picks the window to attach to
    HCURSOR pickCursor = nullptr;
};

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
void applyPickCursor();
void finishWindowPick(LPARAM point);
