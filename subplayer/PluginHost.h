#pragma once
// The host's side of the general purpose plug-in interface: load the library, take its descriptor,
// fill in the host window and module instance, call its entry points, unload it.
#include <windows.h>

#include <string>

// The descriptor as a host sees it.
struct GeneralPurposePlugin {
    int version;
    const char* description;
    int (*init)();  // 0 = started
    void (*config)();
    void (*quit)();
    HWND hwndParent;
    HINSTANCE hDllInstance;
};

const int kPluginInterfaceVersion = 16;
// What a plug-in's uninstall call returns when the host may unload it at once (its other answer,
// 0, asks the host to leave it loaded until the player next starts).
const int kUninstallNow = 1;

class PluginHost {
public:
    ~PluginHost() { unload(); }

    // Loads the library and checks its descriptor; on failure error says why in one line.
    int load(const std::string& dllPath, HWND hostWindow, std::string& error);
    int loaded() const { return module != nullptr; }
    HMODULE library() const { return module; }
    const GeneralPurposePlugin* descriptor() const { return plugin; }

    int init();
    void config();
    void quit();
    // The plug-in's own uninstall call, winampUninstallPlugin(module, parent, 0), which the player's
    // preferences make when the user removes it: what it returned, or -1 when the library exports
    // no such call.
    int uninstall(HWND parent);
    // Frees the library without calling quit.
    void unload();

private:
    HMODULE module = nullptr;
    GeneralPurposePlugin* plugin = nullptr;
};
