#pragma once
// The descriptor's start and stop and the uninstall call, called by the host on its
// user-interface thread (config, the third entry point, is SettingsSheet.h's).
#include <windows.h>

int init();   // 0 = started, 1 = failed
void quit();  // nothing once the plug-in has stopped

// What the uninstall call returns when the host may unload the library at once (the plug-in does
// not subclass the host's window, and has stopped by then), and when only at the player's next
// start.
constexpr int kUninstallNow = 1;
constexpr int kUninstallAtNextStart = 0;
// The player's Preferences, Plug-ins, Uninstall: asks, in the active language and owned by parent,
// whether to remove the settings too; stops the plug-in (saving its settings unless they go); then
// removes sorvane.ini, its log and the online misses from the settings folder and from beside the
// library if the user said so. Returns kUninstallNow; kUninstallAtNextStart, asking nothing and
// changing nothing, while the property sheet is open.
int uninstallPlugin(HWND parent);
