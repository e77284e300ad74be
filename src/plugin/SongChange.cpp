#include "plugin/SongChange.h"

#include "lyrics/DownloadFolder.h"
#include "lyrics/Win32LyricsEnvironment.h"
#include "plugin/HostLink.h"
#include "plugin/OnlineLookup.h"
#include "plugin/PluginState.h"
#include "utils/Text.h"
#include "utils/Utf.h"

namespace {

// A result waits this long at most for its banner and first lines; then the tick draws them.
constexpr DWORD kFirstLinesWaitMs = 500;

// Takes a finished document as the current one; the display starts afresh from its lines, and
// with its own timing: a shift made on the document it replaces, saved or not, was made for that
// one (a saved shift is in the new document's offset already).
void adopt(std::unique_ptr<LookupResult> result) {
    plugin.pendingLyrics.reset();
    plugin.warningsPending += result->malformedLoads;
    plugin.lyricsDocument = std::move(result->document);
    plugin.liveShift = {};
    plugin.resetDisplay();
}

// The first things a document shows: its banner (titles, or a song without lyrics), its first
// line and the line a display starting now would show, in every row. Asks for what is not drawn
// yet; returns whether everything is.
bool firstThingsDrawn(const LyricsDocument& document) {
    RenderSurface& surface = plugin.renderSurface;
    const Settings& live = plugin.frameSettings();
    BannerContent banner = TitleBanner::contentFor(surface, document, live);
    surface.prepareBanner(banner);
    if (!document.isLoaded()) return surface.holdsBanner(banner);
    // As the document will be shown: without a shift of its own yet, with the output's delay.
    int32_t positionMs = lyricsPositionMs(plugin.playerState.positionMs, LiveShift{}, live.GlobalOffset);
    int32_t first = firstLineToShow(document, positionMs / 10, live);
    int32_t shown = first < 0 ? 0 : first;
    surface.prepareFirstLines(document, live, shown);
    return surface.holdsBanner(banner) && surface.holdsFirstLines(document, live, shown);
}

void adoptPendingWhenReady(bool timeUp) {
    std::unique_ptr<LookupResult>& pending = plugin.pendingLyrics;
    if (pending && (timeUp || firstThingsDrawn(*pending->document))) adopt(std::move(pending));
}

// A result waits until the first things it shows are drawn ahead, so that no tick draws them.
void adoptOnceDrawn(std::unique_ptr<LookupResult> result) {
    if (!plugin.renderSurface.preparer) {
        adopt(std::move(result));
        return;
    }
    plugin.pendingLyrics = std::move(result);
    plugin.pendingSince = GetTickCount();
    adoptPendingWhenReady(false);
}

// Hands the current song, found nowhere on the machine, to the online worker: once a song.
void searchOnline(const SongIdentity& song) {
    const Settings& live = plugin.liveSettings;
    if (live.OnlineLyrics != 1 || !song.file || plugin.onlineAskedFor == song.change) return;
    plugin.onlineAskedFor = song.change;
    auto request = std::make_unique<OnlineRequest>();
    request->song = song;
    request->path = utf16ToUtf8(*song.file);
    request->hostTitle = plugin.songHostTitle;
    request->durationSeconds = askSongLength();
    request->options.timeType = live.TimeType;
    request->options.server =
        live.LyricsServer && !live.LyricsServer->empty() ? *live.LyricsServer : kDefaultLyricsServer;
    request->options.downloadFolder = downloadFolder(textOrNull(live.DownloadPath), plugin.settingsFile.path);
    request->options.missesFile = onlineMissesFile(plugin.settingsFile.path);
    plugin.onlineLookup.request(std::move(request));
}

bool currentSongHasLyrics() {
    return plugin.lyricsDocument->isLoaded() || (plugin.pendingLyrics && plugin.pendingLyrics->document->isLoaded());
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
    plugin.liveShift = {};  // a shift not saved is forgotten with its song
    plugin.noteText.clear();
    plugin.titleBanner.valid = 0;
    plugin.resetDisplay();
    // Until the lookup answers, a song without lyrics; the host's title is asked here, on its own
    // thread, for the banner and for the lookup.
    auto document = std::make_unique<LyricsDocument>();
    if (!song.file) {
        plugin.lyricsDocument = std::move(document);
        return;
    }
    std::optional<std::string> title = askPlaylistTitle(player.listPosition);
    if (title) document->title = headerText(*title);
    plugin.songHostTitle = title;
    plugin.lyricsDocument = std::move(document);
    std::string folder = downloadFolder(textOrNull(plugin.liveSettings.DownloadPath), plugin.settingsFile.path);
    plugin.lyricsLookup.request(song, utf16ToUtf8(*song.file), plugin.liveSettings, folder, std::move(title));
}

void adoptLookedUpLyrics() {
    for (std::unique_ptr<LookupResult>& result : plugin.lyricsLookup.collect()) {
        if (!result->song.isCurrent(plugin.currentSong)) continue;
        // Online only once this machine has been searched through, the lyrics folder too.
        if (!result->document->isLoaded() && !result->folderPending && !currentSongHasLyrics())
            searchOnline(result->song);
        if (!result->folderSettled) adoptOnceDrawn(std::move(result));
    }
    showWarnings();
}

void adoptOnlineLyrics() {
    for (std::unique_ptr<LookupResult>& result : plugin.onlineLookup.collect())
        if (result->song.isCurrent(plugin.currentSong) && !currentSongHasLyrics()) adoptOnceDrawn(std::move(result));
}

void takePreparedLines() {
    plugin.linePreparer.returnTo(plugin.renderSurface);
    adoptPendingWhenReady(false);
    showWarnings();
}
