#include "plugin/SongChange.h"

#include "lyrics/Win32LyricsEnvironment.h"
#include "plugin/PluginState.h"
#include "utils/Text.h"
#include "utils/Utf.h"

namespace {

// Lyrics wait this long at most for their first lines; then the tick draws them itself.
constexpr DWORD kFirstLinesWaitMs = 500;

// Takes a finished document as the current one; the display starts afresh from its lines, and a
// banner still shown is drawn again with its titles.
void adopt(std::unique_ptr<LookupResult> result) {
    plugin.pendingLyrics.reset();
    plugin.warningsPending += result->malformedLoads;
    plugin.lyricsDocument = std::move(result->document);
    plugin.resetDisplay();
    plugin.titleBanner.pictureLost = 1;
}

void adoptPendingWhenReady(bool timeUp) {
    std::unique_ptr<LookupResult>& pending = plugin.pendingLyrics;
    if (!pending) return;
    const int32_t* lines = plugin.pendingLines;
    if (timeUp || plugin.renderSurface.holdsLines(*pending->document, plugin.liveSettings, {lines[0], lines[1]}))
        adopt(std::move(pending));
}

// Lyrics start with the first line and with the line a display starting now would show: both
// are drawn ahead before the document is adopted.
void adoptOnceDrawn(std::unique_ptr<LookupResult> result) {
    RenderSurface& surface = plugin.renderSurface;
    if (!surface.preparer || !result->document->isLoaded()) {
        adopt(std::move(result));
        return;
    }
    const LyricsDocument& document = *result->document;
    int32_t first = firstLineToShow(document, plugin.playerState.positionMs / 10, plugin.liveSettings);
    plugin.pendingLines[0] = 0;
    plugin.pendingLines[1] = first < 0 ? 0 : first;
    surface.prepareLines(document, plugin.liveSettings, {plugin.pendingLines[0], plugin.pendingLines[1]});
    plugin.pendingLyrics = std::move(result);
    plugin.pendingSince = GetTickCount();
    adoptPendingWhenReady(false);
}

void showWarnings() {
    // The box is modal: ticks go on inside it with the adopted document, and a result adopted
    // inside its loop adds to the count.
    if (plugin.warningShown) return;
    plugin.warningShown = 1;
    while (plugin.warningsPending > 0) {
        --plugin.warningsPending;
        showMalformedTagWarning();
    }
    plugin.warningShown = 0;
}

}  // namespace

void followSongChange() {
    PlayerState& player = plugin.playerState;
    if (sameName(player.loadedFile, player.currentFile)) {
        if (plugin.pendingLyrics) adoptPendingWhenReady(GetTickCount() - plugin.pendingSince >= kFirstLinesWaitMs);
        return;
    }
    player.loadedFile = player.currentFile;
    SongIdentity& song = plugin.currentSong;
    song = {player.currentFile, song.change + 1};
    plugin.pendingLyrics.reset();
    plugin.titleBanner.valid = 0;
    plugin.resetDisplay();
    // Until the lookup answers, a song without lyrics; the host's title is asked here, on its own
    // thread, for the banner and for the lookup.
    auto document = std::make_unique<LyricsDocument>();
    if (!song.file) {
        plugin.lyricsDocument = std::move(document);
        return;
    }
    std::optional<std::string> title = askHostTitle(plugin.hostWindow(), player.listPosition, player.wideHost);
    if (title) assignString(document->title, title->c_str());
    plugin.lyricsDocument = std::move(document);
    plugin.lyricsLookup.request(song, utf16ToUtf8(*song.file), plugin.liveSettings, std::move(title));
}

void adoptLookedUpLyrics() {
    {
        LockedScope locked(plugin.pluginLock);
        for (std::unique_ptr<LookupResult>& result : plugin.lyricsLookup.collect())
            if (result->song.isCurrent(plugin.currentSong)) adoptOnceDrawn(std::move(result));
    }
    showWarnings();
}

void takePreparedLines() {
    {
        LockedScope locked(plugin.pluginLock);
        for (std::unique_ptr<TextLayers>& layers : plugin.linePreparer.collect())
            plugin.renderSurface.takePrepared(std::move(layers));
        adoptPendingWhenReady(false);
    }
    showWarnings();
}
