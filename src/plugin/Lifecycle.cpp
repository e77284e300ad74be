#include "plugin/Lifecycle.h"

#include <cstdio>

#include "config/PrivateProfileStore.h"
#include "config/PropertySheet.h"
#include "plugin/BarWindow.h"
#include "plugin/Globals.h"
#include "plugin/HostLink.h"
#include "plugin/PluginDescriptor.h"
#include "plugin/PluginLock.h"
#include "plugin/TickTimer.h"
#include "render/VerticalSync.h"
#include "resources/ResourceIds.h"

namespace {

PrivateProfileStore iniStore() { return PrivateProfileStore(iniPath().c_str(), kPluginDescription); }

// The saved window to attach to. With neither a class nor a title saved (every fresh install)
// there is nothing to look up: the platform would answer with an arbitrary window.
HWND lookupAttachWindow() {
    if (!liveSettings.OtherWinClass && !liveSettings.OtherWinName) return nullptr;
    return FindWindowA(liveSettings.OtherWinClass, liveSettings.OtherWinName);
}

int failInit(const char* text, const char* caption) {
    MessageBoxA(hostWindow(), text, caption, MB_OK);
    pluginLock.destroy();
    return 1;
}

// Undoes what init made before its last step: the buffers, the bar and its class. The bar goes
// without its own WM_DESTROY handling, which asks the host to quit: a failed init must not end
// the player.
void undoInit(HINSTANCE instance) {
    renderSurface.releaseAll();
    SetWindowLongPtrA(barWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    DestroyWindow(barWindow);
    barWindow = nullptr;
    unregisterBarClass(instance);
}

}  // namespace

std::string iniPath() {
    char name[MAX_PATH] = {};
    GetModuleFileNameA(moduleInstance(), name, sizeof name);
    std::string path = name;
    size_t slash = path.rfind('\\');
    path.erase(slash == std::string::npos ? 0 : slash + 1);
    return path + "sorvane.ini";
}

void loadSettings() {
    LockedScope locked;
    PrivateProfileStore store = iniStore();
    liveSettings.loadFromIni(store);
    settingsSnapshot.copyFrom(liveSettings);
}

void saveSettings() {
    LockedScope locked;
    PrivateProfileStore store = iniStore();
    liveSettings.saveToIni(store);
}

int init() {
    pluginLock.create();
    loadSettings();
    attachWindow = lookupAttachWindow();
    HINSTANCE instance = moduleInstance();
    if (!registerBarClass(instance)) return failInit("Error registering window class", "blah");
    barWindow = createBarWindow(instance);
    renderSurface.createBuffers(barWindow, liveSettings.width, liveSettings.height, liveSettings);
    if (!barWindow) {
        unregisterBarClass(instance);
        return failInit("Error creating window", "Sorvane");
    }
    pollHostAtInit();
    SetWindowPos(barWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    renderSurface.loadSkin(liveSettings);
    ShowWindow(barWindow, SW_SHOWNORMAL);
    if (!startTimer(barWindow)) {
        undoInit(instance);
        return failInit("Error starting the timer", "Sorvane");
    }
    return 0;
}

void config() {
    if (!configRequested && barWindow) {
        // The sheet always runs from the bar's own message handling, never inside the host's call.
        PostMessageA(barWindow, WM_COMMAND, IDM_SETTINGS, 0);
        return;
    }
    configRequested = 0;
    if (configRunning) return;
    configRunning = 1;
    // Not running (before init, or after a failed one): a lock and settings for this call only.
    bool ownLock = !pluginLock.exists();
    if (ownLock) {
        pluginLock.create();
        loadSettings();
    }
    {
        LockedScope locked;
        settingsSnapshot.copyFrom(liveSettings);
    }
    runPropertySheet(hostWindow(), moduleInstance());
    saveSettings();
    if (ownLock) pluginLock.destroy();
    configRunning = 0;
}

void quit() {
    stopTimer();
    renderSurface.releaseAll();
    if (barWindow) InvalidateRect(hostWindow(), nullptr, TRUE);
    {
        LockedScope locked;
        char effects[16];
        std::snprintf(effects, sizeof effects, "%d", static_cast<int>(liveSettings.Effects));
        iniStore().writeString("Effects", effects);
        if (positionDirty) saveSettings();
        releaseVerticalSync();
        if (barWindow) DestroyWindow(barWindow);
        barWindow = nullptr;
        unregisterBarClass(moduleInstance());
    }
    pluginLock.destroy();
}
