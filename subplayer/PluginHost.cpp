#include "subplayer/PluginHost.h"

int PluginHost::load(const std::string& dllPath, HWND hostWindow, std::string& error) {
    unload();
    HMODULE m = LoadLibraryA(dllPath.c_str());
    if (!m) {
        error = "cannot load " + dllPath + " (error " + std::to_string(GetLastError()) + ")";
        return 0;
    }
    typedef GeneralPurposePlugin* (*Entry)();
    Entry entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(m, "winampGetGeneralPurposePlugin")));
    GeneralPurposePlugin* p = entry ? entry() : nullptr;
    if (!entry)
        error = dllPath + " does not export winampGetGeneralPurposePlugin";
    else if (!p)
        error = "winampGetGeneralPurposePlugin of " + dllPath + " returned no descriptor";
    else if (p->version != kPluginInterfaceVersion)
        error = dllPath + " has descriptor version " + std::to_string(p->version) + ", expected " +
                std::to_string(kPluginInterfaceVersion);
    if (!entry || !p || p->version != kPluginInterfaceVersion) {
        FreeLibrary(m);
        return 0;
    }
    module = m;
    plugin = p;
    plugin->hwndParent = hostWindow;
    plugin->hDllInstance = m;
    return 1;
}

int PluginHost::init() { return plugin && plugin->init ? plugin->init() : 1; }

void PluginHost::config() {
    if (plugin && plugin->config) plugin->config();
}

void PluginHost::quit() {
    if (plugin && plugin->quit) plugin->quit();
}

int PluginHost::uninstall(HWND parent) {
    if (!module) return -1;
    typedef int (*Uninstall)(HINSTANCE, HWND, int);
    Uninstall call =
        reinterpret_cast<Uninstall>(reinterpret_cast<void*>(GetProcAddress(module, "winampUninstallPlugin")));
    return call ? call(module, parent, 0) : -1;
}

void PluginHost::unload() {
    if (module) FreeLibrary(module);
    module = nullptr;
    plugin = nullptr;
}
