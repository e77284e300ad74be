#include "plugin/PluginSettings.h"

#include "config/PrivateProfileStore.h"
#include "config/SettingsFile.h"
#include "plugin/HostLink.h"
#include "plugin/PluginDescriptor.h"
#include "plugin/PluginState.h"
#include "utils/WinUiText.h"

namespace {

PrivateProfileStore iniStore() { return PrivateProfileStore(iniPath(), kPluginDescription); }

// A save that did not reach the settings file is told (config/SettingsFile.h): the sheet's closing
// may show a box, the player's closing never does.
void reportWhenFailed(const PrivateProfileStore& store, HWND boxOwner) {
    if (store.writeFailed()) reportSaveFailure(plugin.settingsFile, boxOwner, store.writeError());
}

}  // namespace

std::string iniPath() {
    const std::string& located = plugin.settingsFile.path;
    return located.empty() ? libraryFolder(plugin.moduleInstance()) + "sorvane.ini" : located;
}

void loadSettings() {
    std::string readFrom =
        locateSettingsFile(plugin.settingsFile, askHostSettingsFolder(), libraryFolder(plugin.moduleInstance()));
    PrivateProfileStore store(readFrom, kPluginDescription);
    plugin.liveSettings.loadFromIni(store);
    plugin.settingsSnapshot.copyFrom(plugin.liveSettings);
    setActiveLanguage(chosenLanguage(plugin.liveSettings.Language));
}

int saveSettings(HWND boxOwner) {
    PrivateProfileStore store = iniStore();
    plugin.liveSettings.saveToIni(store);
    reportWhenFailed(store, boxOwner);
    return store.writeFailed() ? 0 : 1;
}

void saveSettingsAtQuit() {
    PrivateProfileStore store = iniStore();
    store.writeString("Effects", std::to_string(plugin.liveSettings.Effects));
    if (plugin.positionDirty) plugin.liveSettings.saveToIni(store);
    reportWhenFailed(store, nullptr);
}

void saveDesktopSettings() {
    PrivateProfileStore store = iniStore();
    const Settings& live = plugin.liveSettings;
    store.writeString("Desktop_x", std::to_string(live.Desktop_x));
    store.writeString("Desktop_y", std::to_string(live.Desktop_y));
    store.writeString("Desktop_width", std::to_string(live.Desktop_width));
    store.writeString("Locked", std::to_string(live.Locked));
    reportWhenFailed(store, nullptr);
}
