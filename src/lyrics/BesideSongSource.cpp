#include "lyrics/BesideSongSource.h"

#include "lyrics/LyricsLoader.h"

int BesideSongSource::lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
                             LyricsEnvironment& environment) const {
    return loadLyricsFile(document, song.path, options.timeType, environment);
}
