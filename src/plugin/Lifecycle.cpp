#include "plugin/Lifecycle.h"

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
#include "utils/WinText.h"

namespace {

PrivateProfileStore iniStore() { return PrivateProfileStore(iniPath(), kPluginDescription); }

// The saved window to attach to. With neither a class nor a title saved (every fresh install)
// there is nothing to look up: the platform would answer with an arbitrary window.
HWND lookupAttachWindow() {
    if (!liveSettings.OtherWinClass && !liveSettings.OtherWinName) return nullptr;
    std::wstring className = widen(liveSettings.OtherWinClass ? liveSettings.OtherWinClass : "");
    std::wstring title = widen(liveSettings.OtherWinName ? liveSettings.OtherWinName : "");
    return FindWindowW(liveSettings.OtherWinClass ? className.c_str() : nullptr,
                       liveSettings.OtherWinName ? title.c_str() : nullptr);
}

int failInit(const wchar_t* text, const wchar_t* caption) {
    MessageBoxW(hostWindow(), text, caption, MB_OK);
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
    // The module's file name, however long: the buffer grows until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(moduleInstance(), name.data(), static_cast<DWORD>(name.size()));
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
    if (!registerBarClass(instance)) return failInit(L"Error registering window class", L"blah");
    barWindow = createBarWindow(instance);
    renderSurface.createBuffers(barWindow, liveSettings.width, liveSettings.height, liveSettings);
    if (!barWindow) {
        unregisterBarClass(instance);
        return failInit(L"Error creating window", L"Sorvane");
    }
    pollHostAtInit();
    SetWindowPos(barWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    renderSurface.loadSkin(liveSettings);
    ShowWindow(barWindow, SW_SHOWNORMAL);
    if (!startTimer(barWindow)) {
        undoInit(instance);
        return failInit(L"Error starting the timer", L"Sorvane");
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
        iniStore().writeString("Effects", std::to_string(liveSettings.Effects));
        if (positionDirty) saveSettings();
        releaseVerticalSync();
        if (barWindow) DestroyWindow(barWindow);
        barWindow = nullptr;
        unregisterBarClass(moduleInstance());
    }
    pluginLock.destroy();
}
