#include "plugin/SettingsSheet.h"

#include <cassert>

#include "config/PropertySheet.h"
#include "plugin/PluginSettings.h"
#include "plugin/PluginState.h"
#include "resources/ResourceIds.h"
#include "utils/WinUiText.h"

void config() {
    if (!plugin.running) plugin.claimHostThread();
    assert(plugin.onHostThread());
    if (!plugin.configRequested && plugin.barWindow) {
        PostMessageA(plugin.barWindow, WM_COMMAND, IDM_SETTINGS, 0);
        return;
    }
    plugin.configRequested = 0;
    if (plugin.configRunning) return;
    plugin.configRunning = 1;
    if (!plugin.running) loadSettings();
    plugin.settingsSnapshot.copyFrom(plugin.liveSettings);
    runPropertySheet(plugin, plugin.hostWindow(), plugin.moduleInstance());
    saveSettings(plugin.barWindow ? plugin.barWindow : plugin.hostWindow());
    // A language chosen on the version page: the menu and message boxes speak it from now on, the
    // sheet from its next opening.
    setActiveLanguage(chosenLanguage(plugin.liveSettings.Language));
    plugin.configRunning = 0;
}
