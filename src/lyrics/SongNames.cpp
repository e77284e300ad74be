#include "lyrics/SongNames.h"

#include <memory>

#include "lyrics/LyricsEnvironment.h"
#include "lyrics/TagLyrics.h"

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

SongNames readSongNames(const char* path, const char* playlistTitle, LyricsEnvironment& environment) {
    SongNames song;
    song.path = path ? path : "";
    song.playlistTitle = playlistTitle ? playlistTitle : "";
    if (std::unique_ptr<SourceFile> file = path ? environment.openFile(path) : nullptr) {
        SongTitles titles;
        int named = readSongTitles(*file, path, environment, titles);
        song.lengthSeconds = titles.lengthSeconds;
        if (named) {
            song.title = titles.title;
            song.artist = titles.artist;
            song.album = titles.album;
            return song;
        }
    }
    splitArtistTitle(song.playlistTitle, song.artist, song.title);
    return song;
}

int splitArtistTitle(std::string_view playlistTitle, std::string& artist, std::string& title) {
    size_t dash = playlistTitle.find(" - ");
    if (dash == std::string_view::npos) return 0;
    std::string_view artistPart = trimmed(playlistTitle.substr(0, dash));
    std::string_view titlePart = trimmed(playlistTitle.substr(dash + 3));
    if (artistPart.empty() || titlePart.empty()) return 0;
    artist = artistPart;
    title = titlePart;
    return 1;
}
