#include "plugin/Lifecycle.h"

#include "config/PrivateProfileStore.h"
#include "config/PropertySheet.h"
#include "plugin/BarWindow.h"
#include "plugin/HostLink.h"
#include "plugin/PluginDescriptor.h"
#include "plugin/PluginState.h"
#include "render/VerticalSync.h"
#include "resources/ResourceIds.h"
#include "utils/WinText.h"

namespace {

PrivateProfileStore iniStore() { return PrivateProfileStore(iniPath(), kPluginDescription); }

// The saved window to attach to. With neither a class nor a title saved (every fresh install)
// there is nothing to look up: the platform would answer with an arbitrary window.
HWND lookupAttachWindow() {
    const Settings& live = plugin.liveSettings;
    if (!live.OtherWinClass && !live.OtherWinName) return nullptr;
    std::wstring className = widen(live.OtherWinClass ? live.OtherWinClass : "");
    std::wstring title = widen(live.OtherWinName ? live.OtherWinName : "");
    return FindWindowW(live.OtherWinClass ? className.c_str() : nullptr, live.OtherWinName ? title.c_str() : nullptr);
}

int failInit(const wchar_t* text, const wchar_t* caption) {
    MessageBoxW(plugin.hostWindow(), text, caption, MB_OK);
    plugin.pluginLock.destroy();
    return 1;
}

}  // namespace

std::string iniPath() {
    // The module's file name, however long: the buffer grows until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(plugin.moduleInstance(), name.data(), static_cast<DWORD>(name.size()));
        if (n < name.size() || name.size() >= 32768) {
            name.resize(n < name.size() ? n : 0);
            break;
        }
        name.resize(name.size() * 2);
    }
    std::string path = narrow(name);
    size_t slash = path.rfind('\\');
    path.erase(slash == std::string::npos ? 0 : slash + 1);
    return path + "sorvane.ini";
}

void loadSettings() {
    LockedScope locked(plugin.pluginLock);
    PrivateProfileStore store = iniStore();
    plugin.liveSettings.loadFromIni(store);
    plugin.settingsSnapshot.copyFrom(plugin.liveSettings);
}

void saveSettings() {
    LockedScope locked(plugin.pluginLock);
    PrivateProfileStore store = iniStore();
    plugin.liveSettings.saveToIni(store);
}

int init() {
    plugin.pluginLock.create();
    loadSettings();
    plugin.attachWindow = lookupAttachWindow();
    HINSTANCE instance = plugin.moduleInstance();
    if (!registerBarClass(instance)) return failInit(L"Error registering window class", L"blah");
    HWND bar = createBarWindow(instance);
    plugin.barWindow = bar;
    Settings& live = plugin.liveSettings;
    plugin.renderSurface.createBuffers(bar, live.width, live.height, live);
    if (!bar) {
        unregisterBarClass(instance);
        return failInit(L"Error creating window", L"Sorvane");
    }
    plugin.lyricsLookup.start(bar, kLyricsLookedUpMessage);
    // Without its worker the bar draws every line when it needs it.
    if (plugin.linePreparer.start(bar, kLinesPreparedMessage)) plugin.renderSurface.preparer = &plugin.linePreparer;
    pollHostAtInit();
    SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    plugin.renderSurface.loadSkin(live);
    ShowWindow(bar, SW_SHOWNORMAL);
    plugin.tickTimer.start(bar);
    return 0;
}

void config() {
    if (!plugin.configRequested && plugin.barWindow) {
        // The sheet always runs from the bar's own message handling, never inside the host's call.
        PostMessageA(plugin.barWindow, WM_COMMAND, IDM_SETTINGS, 0);
        return;
    }
    plugin.configRequested = 0;
    if (plugin.configRunning) return;
    plugin.configRunning = 1;
    // Not running (before init, or after a failed one): a lock and settings for this call only.
    bool ownLock = !plugin.pluginLock.exists();
    if (ownLock) {
        plugin.pluginLock.create();
        loadSettings();
    }
    {
        LockedScope locked(plugin.pluginLock);
        plugin.settingsSnapshot.copyFrom(plugin.liveSettings);
    }
    runPropertySheet(plugin, plugin.hostWindow(), plugin.moduleInstance());
    saveSettings();
    if (ownLock) plugin.pluginLock.destroy();
    plugin.configRunning = 0;
}

void quit() {
    plugin.tickTimer.stop();
    // The host unloads the library once quit returns: no worker may run on in it.
    plugin.lyricsLookup.stop();
    plugin.linePreparer.stop();
    plugin.renderSurface.preparer = nullptr;
    plugin.pendingLyrics.reset();
    plugin.renderSurface.releaseAll();
    if (plugin.barWindow) InvalidateRect(plugin.hostWindow(), nullptr, TRUE);
    {
        LockedScope locked(plugin.pluginLock);
        iniStore().writeString("Effects", std::to_string(plugin.liveSettings.Effects));
        if (plugin.positionDirty) saveSettings();
        releaseVerticalSync();
        if (plugin.barWindow) DestroyWindow(plugin.barWindow);
        plugin.barWindow = nullptr;
        unregisterBarClass(plugin.moduleInstance());
    }
    plugin.pluginLock.destroy();
}
