// The library's one export. It lives apart from the descriptor so that the static library of the
// Windows layer can be linked into tests without it.
#include "plugin/PluginDescriptor.h"

PluginDescriptor* winampGetGeneralPurposePlugin() { return &pluginDescriptor; }
