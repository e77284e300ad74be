#pragma once
// A lyrics file named as the song anywhere below the lyrics folder (LyricsPath, one trailing
// backslash dropped): a "kra" anywhere in the tree before an "lrc" before a "txt". The file found
// is then loaded as one beside a song of its own name (a "kra" beside it first); a lyrics file
// has no tags, so its title is the host's playlist title and it has no artist, unless its
// headers name them.
#include <string>

#include "lyrics/LyricsSource.h"

class LyricsFolderSource : public LyricsSource {
public:
    const char* name() const override { return "the lyrics folder"; }
    bool takesSavedTiming() const override { return true; }
    int lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
               LyricsEnvironment& environment) const override;
};
