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

class PluginHost {
public:
    ~PluginHost() { unload(); }

    // Loads the library and checks its descriptor; on failure error says why in one line.
    int load(const std::string& dllPath, HWND hostWindow, std::string& error);
    int loaded() const { return module != nullptr; }
    const GeneralPurposePlugin* descriptor() const { return plugin; }

    int init();
    void config();
    void quit();
    // Frees the library without calling quit.
    void unload();

private:
    HMODULE module = nullptr;
    GeneralPurposePlugin* plugin = nullptr;
};
