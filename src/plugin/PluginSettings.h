#pragma once
// The plug-in's settings and their file: where it lies (config/SettingsFile.h: the host's settings
// folder, else beside the library), reading it into liveSettings and writing them back.
#include <windows.h>

#include <string>

// Finds the settings file, then liveSettings from it, a copy into settingsSnapshot, and the
// language they choose.
void loadSettings();
// liveSettings to the settings file. A failed save is reported (config/SettingsFile.h), with a
// message box owned by boxOwner when it is given. Returns 1 when every key was written.
int saveSettings(HWND boxOwner);
// What every quit saves: Effects, which the double-click cycles, and every setting once the bar
// was dragged or reset. A failure is only logged: the player is closing.
void saveSettingsAtQuit();
// The desktop window's place, width and lock, written at once when a drag or a hotkey changes
// them. A failure is only logged, as at quit: nothing the user did is in the way of a box.
void saveDesktopSettings();
// The settings file in use: the one the last loadSettings found; before that, the one beside the
// library.
std::string iniPath();
