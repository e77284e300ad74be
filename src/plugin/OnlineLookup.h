#pragma once
// The online step of the lookup, on a worker thread of its own: for a song the lookup found no
// lyrics for anywhere on the machine, while OnlineLyrics is 1.
//
// The host's thread gathers what the search needs (the song's path, its playlist title, its
// length from the host, and the options: the server, the download folder and the file of
// remembered misses); the worker looks the song up on the server (online/LrclibSource.h) and
// hands back the document it loaded. One lookup is under way at a time, kLookupTimeoutMs at most;
// of those that wait, only the latest song's is asked.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lyrics/LyricsSource.h"
#include "plugin/LyricsLookup.h"
#include "plugin/WorkerThread.h"

struct OnlineRequest {
    SongIdentity song;
    std::string path;  // UTF-8
    std::optional<std::string> hostTitle;
    int32_t durationSeconds = 0;  // the host's length of the song; 0: unknown
    LookupOptions options;        // timeType, server, downloadFolder, missesFile
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
    WorkerThread<OnlineRequest, LookupResult> worker;
};

// The file of remembered misses beside the settings file at settingsFile; empty without one.
std::string onlineMissesFile(const std::string& settingsFile);
