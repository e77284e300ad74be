#pragma once
// The descriptor's three entry points and the uninstall call, called by the host on its
// user-interface thread.
#include <windows.h>

#include <string>

int init();     // 0 = started, 1 = failed
void config();  // opens the property sheet (from the bar's own message handling)
void quit();    // nothing once the plug-in has stopped

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

// Finds the settings file (config/SettingsFile.h: the host's settings folder, else beside the
// library), then liveSettings from it, a copy into settingsSnapshot, and the language they choose.
void loadSettings();
// liveSettings to the settings file. A failed save is reported
// (config/SettingsFile.h), with a message box owned by boxOwner when it is given. Returns 1 when
// every key was written.
int saveSettings(HWND boxOwner);
// The settings file in use: the one the last loadSettings found; before that, the one beside the
// library.
std::string iniPath();
