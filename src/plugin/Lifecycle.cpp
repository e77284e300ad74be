#include "plugin/Lifecycle.h"

#include "config/PrivateProfileStore.h"
#include "config/PropertySheet.h"
#include "config/SettingsFile.h"
#include "plugin/BarWindow.h"
#include "plugin/Globals.h"
#include "plugin/HostLink.h"
#include "plugin/HostSettingsFolder.h"
#include "plugin/PluginDescriptor.h"
#include "plugin/PluginLock.h"
#include "plugin/TickTimer.h"
#include "render/VerticalSync.h"
#include "resources/ResourceIds.h"
#include "utils/WinText.h"
#include "utils/WinUiText.h"

namespace {

PrivateProfileStore iniStore() { return PrivateProfileStore(iniPath(), kPluginDescription); }

// A save that did not reach the settings file is told (config/SettingsFile.h): the sheet's closing
// may show a box, the player's closing never does.
void reportWhenFailed(const PrivateProfileStore& store, HWND boxOwner) {
    if (store.writeFailed()) reportSaveFailure(boxOwner, store.writeError());
}

// The saved window to attach to. With neither a class nor a title saved (every fresh install)
// there is nothing to look up: the platform would answer with an arbitrary window.
HWND lookupAttachWindow() {
    if (!liveSettings.OtherWinClass && !liveSettings.OtherWinName) return nullptr;
    std::wstring className = widen(liveSettings.OtherWinClass ? liveSettings.OtherWinClass : "");
    std::wstring title = widen(liveSettings.OtherWinName ? liveSettings.OtherWinName : "");
    return FindWindowW(liveSettings.OtherWinClass ? className.c_str() : nullptr,
                       liveSettings.OtherWinName ? title.c_str() : nullptr);
}

int failInit(UiText text, UiText caption) {
    MessageBoxW(hostWindow(), uiTextW(text).c_str(), uiTextW(caption).c_str(), MB_OK);
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
    const std::string& located = settingsFilePath();
    return located.empty() ? libraryFolder(moduleInstance()) + "sorvane.ini" : located;
}

void loadSettings() {
    std::string readFrom = locateSettingsFile(askHostSettingsFolder(), libraryFolder(moduleInstance()));
    LockedScope locked;
    PrivateProfileStore store(readFrom, kPluginDescription);
    liveSettings.loadFromIni(store);
    settingsSnapshot.copyFrom(liveSettings);
    setActiveLanguage(chosenLanguage(liveSettings.Language));
}

int saveSettings(HWND boxOwner) {
    LockedScope locked;
    PrivateProfileStore store = iniStore();
    liveSettings.saveToIni(store);
    reportWhenFailed(store, boxOwner);
    return store.writeFailed() ? 0 : 1;
}

int init() {
    pluginLock.create();
    loadSettings();
    attachWindow = lookupAttachWindow();
    HINSTANCE instance = moduleInstance();
    if (!registerBarClass(instance)) return failInit(UiText::RegisterClassFailedText, UiText::RegisterClassFailedCaption);
    barWindow = createBarWindow(instance);
    renderSurface.createBuffers(barWindow, liveSettings.width, liveSettings.height, liveSettings);
    if (!barWindow) {
        unregisterBarClass(instance);
        return failInit(UiText::CreateWindowFailedText, UiText::CreateWindowFailedCaption);
    }
    pollHostAtInit();
    SetWindowPos(barWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    renderSurface.loadSkin(liveSettings);
    ShowWindow(barWindow, SW_SHOWNORMAL);
    if (!startTimer(barWindow)) {
        undoInit(instance);
        return failInit(UiText::TimerFailedText, UiText::TimerFailedCaption);
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
    saveSettings(barWindow ? barWindow : hostWindow());
    // A language chosen on the version page: the menu and message boxes speak it from now on, the
    // sheet from its next opening.
    setActiveLanguage(chosenLanguage(liveSettings.Language));
    if (ownLock) pluginLock.destroy();
    configRunning = 0;
}

void quit() {
    stopTimer();
    renderSurface.releaseAll();
    if (barWindow) InvalidateRect(hostWindow(), nullptr, TRUE);
    {
        LockedScope locked;
        PrivateProfileStore store = iniStore();
        store.writeString("Effects", std::to_string(liveSettings.Effects));
        if (positionDirty) liveSettings.saveToIni(store);
        reportWhenFailed(store, nullptr);
        releaseVerticalSync();
        if (barWindow) DestroyWindow(barWindow);
        barWindow = nullptr;
        unregisterBarClass(moduleInstance());
    }
    pluginLock.destroy();
}
