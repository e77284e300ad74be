#pragma once
// The lyrics lookup of a song change, run on a worker thread.
//
// On the host's thread the tick gathers what the lookup needs: the song, its path, the options
// the sources read (from the settings and the download folder) and the host's playlist title. The
// worker looks in every source on this machine (lyrics/LookupOrder.h: beside the song, below
// LyricsPath, the download folder's copy, in the song's tags) into a document of its own and hands
// the finished document back, lyrics or none, with the song it was looked up for; the bar adopts
// it only while that song is still current (SongChange.h).
//
// The worker keeps the index of the LyricsPath tree from song to song and walks the tree while it
// has no lookup to do. A lookup that finds the index not ready answers from the last finished
// walk, or without the folder, and when the walk is done the folder is looked in again for the
// latest song: lyrics found there then come as a further result for the same song, and when there
// are none, a result that says so (the online search waits for it).
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsSource.h"
#include "plugin/SongIdentity.h"
#include "plugin/WorkerThread.h"

class Settings;

struct LookupRequest {
    SongIdentity song;
    std::string path;  // UTF-8
    LookupOptions options;
    std::optional<std::string> hostTitle;
};

struct LookupResult {
    SongIdentity song;
    std::unique_ptr<LyricsDocument> document;  // finished: loaded, or the titles of a song without
    int malformedLoads = 0;                    // loads with malformed tags: one warning each
    // The LyricsPath index was not ready: the folder is looked in again once it is, and a further
    // result for the song follows (folderSettled: the folder has no lyrics for it either; that
    // result is no new document to show, only the end of the search on this machine).
    int folderPending = 0;
    int folderSettled = 0;
};

class LyricsLookup {
public:
    // Starts the worker; its results are announced to the bar with message.
    int start(HWND bar, UINT message);
    // Quit: the worker gives up what it does and ends, or is left to end on its own.
    void stop();
    // Asks for the lyrics of song, whose file is path (UTF-8).
    void request(const SongIdentity& song, const std::string& path, const Settings& settings,
                 const std::string& downloadFolder, std::optional<std::string> hostTitle);
    // The results handed back so far, oldest first.
    std::vector<std::unique_ptr<LookupResult>> collect();

private:
    WorkerThread<LookupRequest, LookupResult> worker;
};
