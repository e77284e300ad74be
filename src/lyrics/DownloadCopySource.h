#pragma once
// The song's copy in the download folder (DownloadFolder.h): under the name the song's names give
// it, else under the name earlier versions gave it; only a copy whose tags say it is the song's.
// It comes before the song's own tags: a copy the user corrected, or whose timing was saved, is
// what the song shows.
#include <string>

#include "lyrics/LyricsSource.h"

class DownloadCopySource : public LyricsSource {
public:
    const char* name() const override { return "the download folder's copy"; }
    bool takesSavedTiming() const override { return true; }
    int lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
               LyricsEnvironment& environment) const override;
};

// Loads the copy at copy (that very file), when its tags say it is the song's (copyBelongsToSong):
// as a lyrics file, its title and artist refreshed from it, lyricsFile being the copy. Sets loaded
// to 0 first.
int loadDownloadCopy(LyricsDocument& document, const std::string& copy, const SongNames& song, int32_t timeType,
                     LyricsEnvironment& environment);
