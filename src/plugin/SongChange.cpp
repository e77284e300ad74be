#include "plugin/SongChange.h"

#include "lyrics/Win32LyricsEnvironment.h"
#include "plugin/PluginState.h"
#include "utils/Text.h"
#include "utils/Utf.h"

namespace {

// Takes a finished document as the current one; the display starts afresh from its lines, and a
// banner still shown is drawn again with its titles.
void adopt(std::unique_ptr<LyricsDocument> document) {
    plugin.lyricsDocument = std::move(document);
    plugin.resetDisplay();
    plugin.titleBanner.pictureLost = 1;
}

}  // namespace

void followSongChange() {
    PlayerState& player = plugin.playerState;
    if (sameName(player.loadedFile, player.currentFile)) return;
    player.loadedFile = player.currentFile;
    SongIdentity& song = plugin.currentSong;
    song = {player.currentFile, song.change + 1};
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
        for (std::unique_ptr<LookupResult>& result : plugin.lyricsLookup.collect()) {
            if (!result->song.isCurrent(plugin.currentSong)) continue;
            plugin.warningsPending += result->malformedLoads;
            adopt(std::move(result->document));
        }
    }
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
