#include "online/SongQuery.h"

#include <memory>

#include "lyrics/LyricsEnvironment.h"
#include "lyrics/TagLyrics.h"

OnlineQuery songQuery(const char* path, const char* fallbackTitle, LyricsEnvironment& environment) {
    OnlineQuery query;
    if (std::unique_ptr<SourceFile> file = environment.openFile(path)) {
        SongTitles titles;
        int named = readSongTitles(*file, path, environment, titles);
        query.durationSeconds = titles.lengthSeconds;
        if (named) {
            query.track = titles.title;
            query.artist = titles.artist;
            query.album = titles.album;
            return query;
        }
    }
    if (fallbackTitle) queryFromTitle(fallbackTitle, query);
    return query;
}
