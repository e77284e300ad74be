#include "plugin/PluginDescriptor.h"

#include <cstddef>

const char kPluginDescription[] = "Sorvane v0.15b by KEDO";

PluginDescriptor pluginDescriptor = {16, kPluginDescription, nullptr, nullptr, nullptr, nullptr, nullptr};

#if defined(_WIN32) && !defined(_WIN64)
// The host reads these fields at these offsets.
static_assert(sizeof(PluginDescriptor) == 28, "descriptor size");
static_assert(offsetof(PluginDescriptor, version) == 0, "version");
static_assert(offsetof(PluginDescriptor, description) == 4, "description");
static_assert(offsetof(PluginDescriptor, init) == 8, "init");
static_assert(offsetof(PluginDescriptor, config) == 12, "config");
static_assert(offsetof(PluginDescriptor, quit) == 16, "quit");
static_assert(offsetof(PluginDescriptor, hostWindow) == 20, "host window");
static_assert(offsetof(PluginDescriptor, moduleInstance) == 24, "module instance");
#endif
