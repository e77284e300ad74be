#pragma once
// Lyrics from an LRCLIB server, for a song no source on this machine has lyrics for: the song's
// title, artist and album (from its tags, else its playlist title), its length (the host's, where
// it gave one) asked of the server (OnlineSearch.h); what arrives is kept as the song's copy in
// the download folder (DownloadFolder.h) and loaded from there, as the next lookup finds it.
//
// A search that finds nothing is remembered in the misses file for a week (OnlineMisses.h), and a
// song remembered there is not asked for; a fault (no answer, time-out, a redirect elsewhere,
// another status, a garbled, oversized or unkeepable answer) is not remembered, and nothing is
// written for it. A copy of that name that appears meanwhile is shown when it is the song's and is
// never overwritten; lyrics that cannot be kept (the folder refuses them, or another song's copy
// holds the name) are shown all the same, from memory, with no file to save a timing into.
//
// A lookup takes as long as the server does, kLookupTimeoutMs at most: it runs on a worker of its
// own (plugin/OnlineLookup.h), never on the host's thread.
#include <functional>

#include "lyrics/LyricsSource.h"

class HttpClient;
class Win32LyricsFileWriter;

class LrclibSource : public LyricsSource {
public:
    // Asks through client, keeps files through writer; once givenUp says so (the plug-in quits),
    // what the server answered is neither kept nor remembered.
    LrclibSource(HttpClient& client, Win32LyricsFileWriter& writer, std::function<bool()> givenUp)
        : client(client), writer(writer), givenUp(std::move(givenUp)) {}

    const char* name() const override { return "LRCLIB"; }
    bool takesSavedTiming() const override { return true; }
    int lookUp(LyricsDocument& document, LookupSong& song, const LookupOptions& options,
               LyricsEnvironment& environment) const override;

private:
    HttpClient& client;
    Win32LyricsFileWriter& writer;
    std::function<bool()> givenUp;
};
