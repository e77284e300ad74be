#include "plugin/FrameTick.h"

#include "lyrics/LyricsLoader.h"
#include "lyrics/Win32LyricsEnvironment.h"
#include "plugin/Globals.h"
#include "plugin/HostLink.h"
#include "plugin/Placement.h"
#include "plugin/PluginLock.h"
#include "render/TitleBanner.h"
#include "render/VerticalSync.h"
#include "utils/Utf.h"

namespace {

TitleBanner titleBanner;

// Kept for the plug-in's life: it holds the index of the LyricsPath tree between songs.
Win32LyricsEnvironment& lyricsEnvironment() {
    static Win32LyricsEnvironment environment(nullptr, 0);
    return environment;
}

// A new file from the host (compared ignoring ASCII letter case): forget the old song's display
// and look its lyrics up. A lookup that fails is not retried while the file stays current.
void followSongChange() {
    if (sameName(playerState.loadedFile, playerState.currentFile)) return;
    titleBanner.valid = 0;
    lyricsDocument.clearHeaders();
    renderSurface.dueLine = 0;
    renderSurface.shownLine = kNoLine;
    renderSurface.clearSet(0);
    renderSurface.clearSet(1);
    // The lookup works on a copy: replies that arrive while it waits on the host may replace
    // the current file.
    std::optional<std::u16string> current = playerState.currentFile;
    playerState.loadedFile = current;
    std::string path = current ? utf16ToUtf8(*current) : std::string();
    Win32LyricsEnvironment& environment = lyricsEnvironment();
    environment.hostWindow = hostWindow();
    environment.listPosition = playerState.listPosition;
    environment.wideHost = playerState.wideHost;
    lookupLyrics(lyricsDocument, current ? path.c_str() : nullptr, liveSettings, environment);
}

void followHostSkin() {
    const std::string& folder = playerState.hostSkinFolder;
    if (sameName(playerState.lastHostSkinFolder, folder)) return;
    playerState.lastHostSkinFolder = folder;
    renderSurface.loadHostSkin(folder);
}

// In Direct mode with the bar hidden, frames go straight into the followed window.
bool drawsIntoFollowedWindow() { return !barShown && liveSettings.Direct; }

HWND followedWindow() { return attachWindow ? attachWindow : hostWindow(); }

void drawLyricsFrame() {
    if (titleBanner.valid) {
        if (liveSettings.Lset == 2) {
            showBar();
            lset2Counter = 0;
        }
        titleBanner.valid = 0;
    }
    updateVerticalSync(liveSettings);
    bool direct = drawsIntoFollowedWindow();
    displayStep(renderSurface, lyricsDocument, playerState.positionMs, liveSettings);
    waitForVerticalBlank(liveSettings);
    renderSurface.renderFrame(direct ? followedWindow() : barWindow, direct ? liveSettings.Winamp_x : 0,
                              direct ? liveSettings.Winamp_y : 0, renderSurface.dueLine, playerState.positionMs,
                              liveSettings, &lyricsDocument, &playerState);
}

void drawBannerFrame() {
    HDC barDc = GetDC(barWindow);
    if (titleBanner.isStale(liveSettings)) {
        if (liveSettings.Lset == 2) {
            hideBar();
            lset2Counter = 0;
        }
        titleBanner.redraw(renderSurface, lyricsDocument, liveSettings);
        if (liveSettings.Lset == 2) InvalidateRect(hostWindow(), nullptr, TRUE);
    }
    waitForVerticalBlank(liveSettings);
    titleBanner.compose(renderSurface, liveSettings);
    if (!drawsIntoFollowedWindow()) {
        titleBanner.copyTo(renderSurface, barDc, 0, 0, liveSettings);
    } else if (liveSettings.Lset != 2) {
        HWND target = followedWindow();
        HDC dc = GetDC(target);
        titleBanner.copyTo(renderSurface, dc, liveSettings.Winamp_x, liveSettings.Winamp_y, liveSettings);
        ReleaseDC(target, dc);
    }
    titleBanner.advanceScroll();
    ReleaseDC(barWindow, barDc);
    titleBanner.valid = 1;
}

}  // namespace

void runFrameTick() {
    LockedScope locked;
    placeBar();
    applyForegroundRule();
    pollHostOnTick();
    songStartShow();
    followSongChange();
    followHostSkin();
    if (playerState.playStatus != 0 && lyricsDocument.isLoaded())
        drawLyricsFrame();
    else
        drawBannerFrame();
}
