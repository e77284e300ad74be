#pragma once
// What the substitute host knows and tells: its playlist, playback clock and skin folder, and the
// answers to the plug-in's window-message queries (the query number travels in lParam).
#include <cstdint>
#include <deque>
#include <map>
#include <string>

#include "subplayer/PlaybackClock.h"

// The queries a host answers, by the number the plug-in puts in lParam. The host side keeps its
// own names for them, apart from the plug-in's, so that the two check each other.
enum HostAsk : int32_t {
    kAskPlayStatus = 104,
    kAskPosition = 105,
    kAskListPosition = 125,
    kAskSkinFolder = 201,
    kAskFilePath = 211,
    kAskTitle = 212,
};

// The skin folder buffer the plug-in hands over with query 201.
const size_t kSkinFolderBufferSize = 260;

class HostModel {
public:
    struct Entry {
        std::string path;
        std::string title;
    };

    void addEntry(const std::string& path, const std::string& title);
    // Makes index the current entry (an index past the end is allowed: the file query then
    // answers 0, as for a playlist entry that does not exist).
    void select(int32_t index);
    // The next entry (after the last: the first), from position 0, in the same play mode.
    void next(uint64_t nowMs);
    void setSkinFolder(const std::string& folder) { skinFolder = folder; }

    // The reply to query with wParam. Paths and titles are handed out as pointers into entries,
    // which stay valid as long as the model lives: entries are only ever appended. Query 201
    // writes the skin folder (cut to fit, always terminated) into the buffer at wParam.
    // Every query is counted by its number, known or not; unknown ones answer 0.
    intptr_t answer(int32_t query, uintptr_t wParam, uint64_t nowMs);
    int queryCount(int32_t query) const;

    PlaybackClock clock;
    std::deque<Entry> entries;
    int32_t current = 0;
    std::string skinFolder;
    std::map<int32_t, int> queryCounts;
};
