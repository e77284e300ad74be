#pragma once
// The lyrics field of the song's Lyrics3 v2.00 tag (SongTags.h: readLyrics3), in the system's
// ANSI code page. The title and artist stay as the sources before it left them. The lyrics have
// no file of their own: a saved timing goes into the song's download copy.
#include "lyrics/LyricsSource.h"

class Lyrics3Source : public LyricsSource {
public:
    const char* name() const override { return "the song's Lyrics3 tag"; }
    bool takesSavedTiming() const override { return false; }
    int lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
               LyricsEnvironment& environment) const override;
};
