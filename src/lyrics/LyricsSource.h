#pragma once
// A place a song's lyrics come from: beside the song, the lyrics folder, the download folder's
// copy, the song's Lyrics3 tag, its other tags (LookupOrder.h lists them in the order they are
// tried), or a server (online/LrclibSource.h). Each is one class with the same face: a name for
// the user, whether a timing saved for its lyrics goes back where they came from, and the lookup.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "lyrics/SongNames.h"

class LyricsDocument;
class LyricsEnvironment;

// What a lookup needs of the settings, as the host's thread read them. Paths are UTF-8.
struct LookupOptions {
    std::string lyricsFolder;    // LyricsPath: the folder tree searched for lyrics files; empty: none
    std::string downloadFolder;  // where songs' copies are kept (DownloadFolder.h); empty: none
    int32_t timeType = 1;        // TimeType: how added start and end marks are converted
    std::string server;          // the LRCLIB server's address (LyricsServer)
    std::string missesFile;      // the online search's remembered misses; empty: none kept
};

// The song a lookup is for: its path (UTF-8; empty: no song) and its length as the host gave it.
// Its names are read from its tags once, by the first source that needs them.
class LookupSong {
public:
    explicit LookupSong(std::string path, int32_t hostLengthSeconds = 0)
        : path(std::move(path)), hostLengthSeconds(hostLengthSeconds) {}

    // The song's names (readSongNames, with the environment's host title), its length the host's
    // where it gave one.
    const SongNames& names(LyricsEnvironment& environment);

    const std::string path;
    const int32_t hostLengthSeconds;  // 0: the host did not say

private:
    std::optional<SongNames> namesRead;
};

class LyricsSource {
public:
    virtual ~LyricsSource() = default;
    // What the place is called, in a few words for the user ("beside the song").
    virtual const char* name() const = 0;
    // Whether lyrics from here live in a file of their own (the document's lyricsFile), where a
    // saved timing goes; without one, the timing goes into the song's download copy (set as the
    // document's downloadCopy by the lookup: LookupOrder.h).
    virtual bool takesSavedTiming() const = 0;
    // Loads the song's lyrics from here into the document, which keeps the title and artist of
    // the song (and of earlier sources that read them). Sets loaded to 0 first, and to 1 with
    // lyrics to show; returns loaded.
    virtual int lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
                       LyricsEnvironment& environment) const = 0;
};

// What source holds for the song at songPath (null or empty: nothing), looked up on its own with
// the time type (as the command-line tool names a source).
int loadFromSource(const LyricsSource& source, LyricsDocument& document, const char* songPath, int32_t timeType,
                   LyricsEnvironment& environment);
