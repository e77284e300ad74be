#include "lyrics/LyricsSource.h"

#include "lyrics/LyricsEnvironment.h"

const SongNames& LookupSong::names(LyricsEnvironment& environment) {
    if (!namesRead) {
        std::optional<std::string> hostTitle = environment.hostTitleCopy();
        namesRead = readSongNames(path.c_str(), hostTitle ? hostTitle->c_str() : nullptr, environment);
        if (hostLengthSeconds > 0) namesRead->lengthSeconds = hostLengthSeconds;
    }
    return *namesRead;
}

int loadFromSource(const LyricsSource& source, LyricsDocument& document, const char* songPath, int32_t timeType,
                   LyricsEnvironment& environment) {
    LookupSong song(songPath ? songPath : "");
    LookupOptions options;
    options.timeType = timeType;
    return source.lookUp(document, song, options, environment);
}
