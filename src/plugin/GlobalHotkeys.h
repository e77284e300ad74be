#pragma once
// The plug-in's actions in the player's global hotkeys: show or hide the lyrics, lock or unlock the
// desktop window, the timing 0.1 s earlier or later, and saving it. The player sends the bar
// kHotkeyMessage with the action in wParam when the user presses the key bound to one; a player
// without the service binds none, and nothing else changes.
#include <windows.h>

constexpr UINT kHotkeyMessage = WM_APP + 4;

enum class HotkeyAction : WPARAM {
    ShowHideLyrics = 1,
    LockDesktop = 2,
    TimingEarlier = 3,
    TimingLater = 4,
    SaveTiming = 5,
};

// Offers the actions to the host, named in the interface's language, sent to bar.
void registerGlobalHotkeys(HWND bar);
void runHotkeyAction(WPARAM action);
