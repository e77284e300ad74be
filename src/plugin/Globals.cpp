#include "plugin/Globals.h"

#include "plugin/HostLink.h"
#include "plugin/PluginDescriptor.h"

// Defined in one place so that they are built in this order and destroyed in reverse.
PlayerState playerState(decodeSystemAnsi);
LyricsDocument lyricsDocument;
RenderSurface renderSurface;
Settings settingsSnapshot;
Settings liveSettings;

HWND barWindow = nullptr;
HWND attachWindow = nullptr;
int configRequested = 0;
int configRunning = 0;
int positionDirty = 0;

HWND hostWindow() { return pluginDescriptor.hostWindow; }

HINSTANCE moduleInstance() { return pluginDescriptor.moduleInstance; }
