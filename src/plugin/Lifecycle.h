#pragma once
// The descriptor's three entry points, called by the host on its user-interface thread.
#include <windows.h>

#include <string>

int init();     // 0 = started, 1 = failed
void config();  // opens the property sheet (from the bar's own message handling)
void quit();

// Finds the settings file (config/SettingsFile.h: the host's settings folder, else beside the
// library), then under pluginLock: liveSettings from it, a copy into settingsSnapshot, and the
// language they choose.
void loadSettings();
// Under pluginLock: liveSettings to the settings file. A failed save is reported
// (config/SettingsFile.h), with a message box owned by boxOwner when it is given. Returns 1 when
// every key was written.
int saveSettings(HWND boxOwner);
// The settings file in use: the one the last loadSettings found; before that, the one beside the
// library.
std::string iniPath();
