// The library's exports. They live apart from the descriptor so that the static library of the
// Windows layer can be linked into tests without them.
#include "plugin/Lifecycle.h"
#include "plugin/PluginDescriptor.h"
#include "plugin/SettingsSheet.h"

PluginDescriptor* winampGetGeneralPurposePlugin() {
    pluginDescriptor.init = init;
    pluginDescriptor.config = config;
    pluginDescriptor.quit = quit;
    return &pluginDescriptor;
}

int winampUninstallPlugin(HINSTANCE, HWND parent, int) { return uninstallPlugin(parent); }
