#pragma once
// The online step of the lookup, on a worker thread of its own: for a song the lookup found no
// lyrics for anywhere on the machine, while OnlineLyrics is 1.
//
// The host's thread gathers what the search needs (the song's path, its playlist title, its
// length from the host, the server, the download folder and the file of remembered misses); the
// worker reads the song's tags for its title, artist and album, asks the server (OnlineSearch.h),
// keeps what arrives as the song's copy in the download folder and hands back the document loaded
// from it. One lookup is under way at a time, kLookupTimeoutMs at most; of those that wait, only
// the latest song's is asked. A search that finds nothing is remembered for a week; a fault (no
// answer, time-out, a redirect elsewhere, another status, a garbled, oversized or unkeepable
// answer) is not, and nothing is written for it.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "plugin/LyricsLookup.h"
#include "plugin/WorkerThread.h"

struct OnlineRequest : Parcel {
    SongIdentity song;
    std::string path;  // UTF-8
    std::optional<std::string> hostTitle;
    int32_t durationSeconds = 0;
    int32_t timeType = 1;
    std::string server;
    std::string downloadFolder;
    std::string missesFile;  // empty: misses are not remembered
};

class OnlineLookup {
public:
    int start(HWND bar, UINT message);
    // Quit: a request under way is given up (the worker ends on its own once WinHTTP returns).
    void stop();
    void request(std::unique_ptr<OnlineRequest> request);
    // Documents with lyrics, oldest first.
    std::vector<std::unique_ptr<LookupResult>> collect();

private:
    WorkerThread worker;
};

// The file of remembered misses beside the settings file at settingsFile; empty without one.
std::string onlineMissesFile(const std::string& settingsFile);
