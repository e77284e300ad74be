#pragma once
// The descriptor's three entry points, called by the host on its user-interface thread.
#include <string>

int init();     // 0 = started, 1 = failed
void config();  // opens the property sheet (from the bar's own message handling)
void quit();

// Under pluginLock: liveSettings from the INI file, then a copy into settingsSnapshot.
void loadSettings();
// Under pluginLock: liveSettings to the INI file.
void saveSettings();
// "sorvane.ini" in the folder of the library's own module file.
std::string iniPath();
