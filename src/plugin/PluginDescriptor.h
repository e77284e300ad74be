#pragma once
// What the host player sees of the plug-in: the descriptor returned by the one exported function.
#include <windows.h>

// The entry points are filled in by the exported function that hands the descriptor to the host
// (Exports.cpp), which stands above everything they call: everything else may read the descriptor.
struct PluginDescriptor {
    int version;              // 16: the host's general purpose plug-in interface version
    const char* description;  // also the bar window's title and the INI section name
    int (*init)();            // 0 = started, 1 = failed
    void (*config)();
    void (*quit)();
    HWND hostWindow;           // filled in by the host before init
    HINSTANCE moduleInstance;  // filled in by the host before init
};

extern PluginDescriptor pluginDescriptor;
extern const char kPluginDescription[];  // "Sorvane v0.15b by KEDO"

extern "C" __declspec(dllexport) PluginDescriptor* winampGetGeneralPurposePlugin();
// Called by the host when the user removes the plug-in from the running player (Preferences,
// Plug-ins, Uninstall): plug-in's module, the window to own what it shows, and a parameter the
// host passes as 0.
extern "C" __declspec(dllexport) int winampUninstallPlugin(HINSTANCE module, HWND parent, int parameter);
