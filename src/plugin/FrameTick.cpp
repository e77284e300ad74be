#include "plugin/FrameTick.h"

#include <cassert>

#include "plugin/BarPlacement.h"
#include "plugin/DesktopWindow.h"
#include "plugin/HostLink.h"
#include "plugin/LiveTiming.h"
#include "plugin/Placement.h"
#include "plugin/PluginState.h"
#include "plugin/SongChange.h"

namespace {

void followHostSkin() {
    PlayerState& player = plugin.playerState;
    const std::string& folder = player.hostSkinFolder;
    if (sameName(player.lastHostSkinFolder, folder)) return;
    player.lastHostSkinFolder = folder;
    plugin.renderSurface.loadHostSkin(folder);
}

// In Direct mode with the bar hidden, frames go straight into the followed window.
bool drawsIntoFollowedWindow() { return !plugin.placement.barShown && plugin.liveSettings.Direct && !inDesktopMode(); }

// The frames go into the bar window: copied, or in desktop mode through the layered window's update.
const FramePresenter& barPresenter(const WindowPresenter& copy) { return inDesktopMode() ? desktopPresenter() : copy; }

HWND followedWindow() { return plugin.attachWindow ? plugin.attachWindow : plugin.hostWindow(); }

void drawLyricsFrame() {
    const Settings& live = plugin.frameSettings();
    RenderSurface& surface = plugin.renderSurface;
    if (plugin.titleBanner.valid) {
        if (live.Lset == kHideBar) {
            showLyricsWindow();
            plugin.placement.lset2Counter = 0;
        }
        plugin.titleBanner.valid = 0;
    }
    plugin.verticalSync.update(plugin.liveSettings);  // may turn Wait_Vsync off
    bool direct = drawsIntoFollowedWindow();
    // The line due, the wipe and the fades all follow the lyrics' position, shifted as the user
    // fixed it.
    int32_t positionMs = lyricsPositionNow();
    surface.note = activeTimingNote();
    surface.displayStep(*plugin.lyricsDocument, positionMs, live);
    plugin.verticalSync.waitForBlank(live);
    WindowPresenter copy(direct ? followedWindow() : plugin.barWindow, direct ? live.Winamp_x : 0,
                         direct ? live.Winamp_y : 0);
    surface.renderFrame(barPresenter(copy), surface.row.dueLine, positionMs, live, plugin.lyricsDocument.get());
    // What the next line change shows is drawn ahead, for the tick that shows it.
    surface.prepareAhead(*plugin.lyricsDocument, live);
}

void drawBannerFrame() {
    const Settings& live = plugin.frameSettings();
    RenderSurface& surface = plugin.renderSurface;
    TitleBanner& banner = plugin.titleBanner;
    if (banner.isStale(*plugin.lyricsDocument, live)) {
        if (live.Lset == kHideBar) {
            hideBar(plugin.barWindow);
            plugin.placement.lset2Counter = 0;
        }
        banner.redraw(surface, *plugin.lyricsDocument, live);
        if (live.Lset == kHideBar) InvalidateRect(plugin.hostWindow(), nullptr, TRUE);
    }
    plugin.verticalSync.waitForBlank(live);
    banner.compose(surface, live);
    if (!drawsIntoFollowedWindow()) {
        banner.present(surface, barPresenter(WindowPresenter(plugin.barWindow, 0, 0)), live);
    } else if (live.Lset != kHideBar) {
        banner.present(surface, WindowPresenter(followedWindow(), live.Winamp_x, live.Winamp_y), live);
    }
    banner.advanceScroll();
    banner.valid = 1;
}

}  // namespace

void runFrameTick() {
    assert(plugin.onHostThread());
    placeBar();
    applyForegroundRule();
    pollHostOnTick();
    songStartShow();
    followSongChange();
    followHostSkin();
    // Rows changed where the sheet did not make the bar anew (its cancel, say): the buffers follow.
    if (plugin.renderSurface.hasBuffers() && plugin.renderSurface.rowCount() != (plugin.liveSettings.Rows == 2 ? 2 : 1))
        plugin.applyBarSize();
    if (plugin.playerState.playStatus != 0 && plugin.lyricsDocument->isLoaded())
        drawLyricsFrame();
    else
        drawBannerFrame();
}
