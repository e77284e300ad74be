#pragma once
// The process-wide objects, built when the library loads in this order and destroyed in reverse:
// playerState, lyricsDocument, renderSurface, settingsSnapshot, liveSettings. All of them, and the
// values below, are guarded by pluginLock (plugin/PluginLock.h).
#include <windows.h>

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "plugin/PlayerState.h"
#include "render/RenderSurface.h"

extern PlayerState playerState;
extern LyricsDocument lyricsDocument;
extern RenderSurface renderSurface;
extern Settings settingsSnapshot;  // restored by the property sheet's cancel
extern Settings liveSettings;      // read by all running code, edited in place by the sheet

extern HWND barWindow;     // null until init creates it
extern HWND attachWindow;  // the window the bar follows instead of the host; null = the host
extern int configRequested;
extern int configRunning;
extern int positionDirty;  // the bar was dragged or reset: quit saves all settings

// The player's main window, from the descriptor.
HWND hostWindow();
HINSTANCE moduleInstance();
