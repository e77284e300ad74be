#include "plugin/Lifecycle.h"

#include <cassert>

#include "config/SettingsFile.h"
#include "plugin/BarWindow.h"
#include "plugin/DesktopLayout.h"
#include "plugin/DesktopWindow.h"
#include "plugin/GlobalHotkeys.h"
#include "plugin/HostLink.h"
#include "plugin/OnlineLookup.h"
#include "plugin/PluginSettings.h"
#include "plugin/PluginState.h"
#include "utils/WinPath.h"
#include "utils/WinText.h"
#include "utils/WinUiText.h"

namespace {

// The saved window to attach to. With neither a class nor a title saved (every fresh install)
// there is nothing to look up: the platform would answer with an arbitrary window.
HWND lookupAttachWindow() {
    const Settings& live = plugin.liveSettings;
    if (!live.OtherWinClass && !live.OtherWinName) return nullptr;
    std::wstring className = widen(live.OtherWinClass.value_or(""));
    std::wstring title = widen(live.OtherWinName.value_or(""));
    return FindWindowW(live.OtherWinClass ? className.c_str() : nullptr, live.OtherWinName ? title.c_str() : nullptr);
}

int failInit(UiText text, UiText caption) {
    MessageBoxW(plugin.hostWindow(), uiTextW(text).c_str(), uiTextW(caption).c_str(), MB_OK);
    plugin.running = 0;
    return 1;
}

// The bar goes, and its class. Without its own WM_DESTROY handling, which asks the host to quit,
// unless the player is closing anyway: a failed init, or an uninstall, must not end the player.
void destroyBar(HINSTANCE instance, bool endsWithThePlayer) {
    if (plugin.barWindow && !endsWithThePlayer)
        SetWindowLongPtrW(plugin.barWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
    if (plugin.barWindow) DestroyWindow(plugin.barWindow);
    plugin.barWindow = nullptr;
    unregisterBarClass(instance);
}

// Undoes what init made before its last step: the buffers, the bar and its class.
void undoInit(HINSTANCE instance) {
    plugin.renderSurface.releaseAll();
    destroyBar(instance, false);
}

// Why the plug-in stops: the player closes, or the user removes it from a player that goes on,
// keeping the settings or removing them.
enum class Departure { kPlayerCloses, kRemovedKeepingSettings, kRemovedWithSettings };

// Stops everything the plug-in runs and releases what it holds; the settings are saved as at
// every quit unless they are being removed. Once only: the host may call quit after an uninstall
// has already stopped the plug-in, or after a failed init.
void stopPlugin(Departure departure) {
    if (!plugin.running) return;
    plugin.tickTimer.stop();
    // The host unloads the library once quit returns: no worker may run on in it.
    plugin.lyricsLookup.stop();
    plugin.onlineLookup.stop();
    plugin.linePreparer.stop();
    plugin.renderSurface.preparer = nullptr;
    plugin.pendingLyrics.reset();
    plugin.renderSurface.releaseAll();
    if (plugin.barWindow) InvalidateRect(plugin.hostWindow(), nullptr, TRUE);
    if (departure != Departure::kRemovedWithSettings) saveSettingsAtQuit();
    plugin.verticalSync.release();
    destroyBar(plugin.moduleInstance(), departure == Departure::kPlayerCloses);
    plugin.running = 0;
}

// The settings file, its log and the online misses in the settings folder and beside the library,
// where an earlier version kept them. A read-only file goes too: the user asked.
void removeSettingsFiles() {
    std::string chosen = iniPath();
    std::string settingsFolder = chosen.substr(0, chosen.find_last_of('\\') + 1);
    for (const std::string& folder : {settingsFolder, libraryFolder(plugin.moduleInstance())}) {
        std::string settings = settingsFileIn(folder);
        for (const std::string& file : {settings, settingsLogIn(folder), onlineMissesFile(settings)}) {
            std::wstring path = widePath(file);
            if (path.empty()) continue;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    }
}

}  // namespace

int init() {
    plugin.claimHostThread();
    plugin.running = 1;
    loadSettings();
    plugin.attachWindow = lookupAttachWindow();
    HINSTANCE instance = plugin.moduleInstance();
    if (!registerBarClass(instance))
        return failInit(UiText::RegisterClassFailedText, UiText::RegisterClassFailedCaption);
    HWND bar = createBarWindow(instance);
    plugin.barWindow = bar;
    const Settings& drawn = plugin.frameSettings();
    plugin.renderSurface.createBuffers(bar, drawn.width, drawn.height, drawn, plugin.frameOutlineWidth());
    if (!bar) {
        plugin.renderSurface.releaseAll();
        unregisterBarClass(instance);
        return failInit(UiText::CreateWindowFailedText, UiText::CreateWindowFailedCaption);
    }
    pollHostAtInit();
    SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    plugin.renderSurface.loadBarSkin(plugin.frameSettings());
    // The desktop window never takes the focus from the program the user works in.
    ShowWindow(bar, inDesktopMode() ? SW_SHOWNOACTIVATE : SW_SHOWNORMAL);
    if (!plugin.tickTimer.start(bar)) {
        undoInit(instance);
        return failInit(UiText::TimerFailedText, UiText::TimerFailedCaption);
    }
    // Nothing the workers post is handled before init returns.
    if (!plugin.lyricsLookup.start(bar, kLyricsLookedUpMessage)) {
        plugin.tickTimer.stop();
        undoInit(instance);
        return failInit(UiText::WorkerFailedText, UiText::WorkerFailedCaption);
    }
    // Without its worker no song is searched online; everything else works as before.
    plugin.onlineLookup.start(bar, kLyricsFoundOnlineMessage);
    // Without its worker the bar draws every line when it needs it.
    if (plugin.linePreparer.start(bar, kLinesPreparedMessage)) plugin.renderSurface.preparer = &plugin.linePreparer;
    registerGlobalHotkeys(bar);
    return 0;
}

void quit() {
    assert(plugin.onHostThread());
    stopPlugin(Departure::kPlayerCloses);
}

int uninstallPlugin(HWND parent) {
    if (!plugin.running) plugin.claimHostThread();
    assert(plugin.onHostThread());
    // The property sheet runs inside the bar's own message handling: the plug-in cannot stop under
    // it, and its closing saves the settings. The player removes the plug-in at its next start.
    if (plugin.configRunning) return kUninstallAtNextStart;
    // Not running: the settings are read for the language they choose, as config reads them.
    if (!plugin.running) loadSettings();
    bool removeSettings =
        MessageBoxW(parent, uiTextW(UiText::UninstallRemoveSettingsText).c_str(),
                    uiTextW(UiText::UninstallCaption).c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    // The host unloads the library as soon as this returns, with or without calling quit first:
    // nothing of the plug-in may run on, and nothing may write a settings file after it is gone.
    stopPlugin(removeSettings ? Departure::kRemovedWithSettings : Departure::kRemovedKeepingSettings);
    if (removeSettings) removeSettingsFiles();
    return kUninstallNow;
}
