#pragma once
// The lyrics in the song's tags (TagLyrics.h): the first field, in the order there, that makes
// lyrics to show: synchronised lyrics, or a text with time tags (a text without any is no lyrics
// to show). A field that makes none leaves only the header texts it set, as a lyrics file would;
// only the loaded field's warnings are reported. The title and artist stay as the sources before
// it left them. The lyrics have no file of their own: a saved timing goes into the song's download
// copy.
#include "lyrics/LyricsSource.h"

class SongTagsSource : public LyricsSource {
public:
    const char* name() const override { return "the song's tags"; }
    bool takesSavedTiming() const override { return false; }
    int lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
               LyricsEnvironment& environment) const override;
};
