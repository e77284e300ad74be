#pragma once
// A lyrics file beside the song: the song's path with the extension of each lyrics file format in
// turn ("kra", then "lrc", then "txt"). The title and artist come from the song's tags, else from
// the host's playlist title (LyricsLoader.h: refreshTitleAndArtist), before the file's own headers.
#include "lyrics/LyricsSource.h"

class BesideSongSource : public LyricsSource {
public:
    const char* name() const override { return "beside the song"; }
    bool takesSavedTiming() const override { return true; }
    int lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
               LyricsEnvironment& environment) const override;
};
