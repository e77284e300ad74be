#pragma once
// The placement's own part of the plug-in's state, and what it does with the bar window alone:
// showing and hiding it, and starting a window pick. What follows from the host, the settings
// and the mouse is in Placement.h.
#include <windows.h>

#include <cstdint>

struct BarPlacement {
    int barShown = 1;          // only the Direct foreground rule changes it
    int32_t lset2Counter = 0;  // position threshold of the song-start show
    int32_t lastTargetX = 0, lastTargetY = 0;
    // Where the bar window is created relative to the host's corner; drags and the reset key keep
    // it current.
    int32_t createOffsetX = 21, createOffsetY = 40;
    int dragging = 0;
    POINT dragBarOrigin = {}, dragPointerOrigin = {};
    int dragEdge = 0;          // the desktop window: -1 its left edge is dragged, 1 its right, 0 all of it
    int32_t dragBarWidth = 0;  // its width when the drag started
    int pickMode = 0;          // the next left click picks the window to attach to
    HCURSOR pickCursor = nullptr;
    int lyricsHidden = 0;  // hidden by the user's hotkey: nothing shows the bar until it is pressed again
    // The desktop window: the DPI of the monitor it stands on, and the size and DPI its buffers
    // were last made for (0: not yet).
    int32_t desktopDpi = 96;
    int32_t desktopBufferWidth = 0, desktopBufferHeight = 0, desktopBufferDpi = 0;
};

void showBar(HWND bar);
void hideBar(HWND bar);

// The window pick: the next left click, wherever it is, names the window the bar attaches to. The
// bar captures the mouse and shows the pick cursor from the module's resources meanwhile.
void startWindowPick(BarPlacement& place, HWND bar, HINSTANCE module);
void applyPickCursor(const BarPlacement& place);
