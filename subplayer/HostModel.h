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
    kAskVersion = 0,
    kAskPlayStatus = 104,
    kAskPosition = 105,
    kAskListPosition = 125,
    kAskSkinFolder = 201,
    kAskFilePath = 211,
    kAskTitle = 212,
    kAskTitleW = 213,
    kAskFilePathW = 214,
    kAskSettingsFolder = 335,
    kAskSkinFolderW = 1201,
    kAskSettingsFolderW = 1335,
};

// The versions the host reports: a current player (5.66), and one from before the wide queries (2.95).
const intptr_t kCurrentHostVersion = 0x5066, kOldHostVersion = 0x2095;

// The skin folder buffer the plug-in hands over with query 201 (bytes) or 1201 (UTF-16 units).
const size_t kSkinFolderBufferSize = 260;

class HostModel {
public:
    // Paths and titles in UTF-8, and as the host hands them out: in UTF-16 for 213 and 214, in the
    // system's ANSI code page for 211 and 212 (what has no form there becomes "?").
    struct Entry {
        std::string path;
        std::string title;
        std::u16string widePath;
        std::u16string wideTitle;
        std::string ansiPath;
        std::string ansiTitle;
        int32_t lengthSeconds = -1;  // 105 with wParam 1; -1: unknown, as for a stream
    };

    // How the host turns UTF-8 into its ANSI code page; the Windows player sets the system's.
    // Without one, texts pass unchanged.
    static void setAnsiConverter(std::string (*convert)(const std::string& utf8));

    void addEntry(const std::string& path, const std::string& title);
    // The song length the last entry's host reports (105 with wParam 1).
    void setLastEntryLength(int32_t seconds);
    // Makes index the current entry (an index past the end is allowed: the file query then
    // answers 0, as for a playlist entry that does not exist).
    void select(int32_t index);
    // The next entry (after the last: the first), from position 0, in the same play mode.
    void next(uint64_t nowMs);
    void setSkinFolder(const std::string& folder) { skinFolder = folder; }
    // The folder the host keeps its settings in (UTF-8), named by 335 (ANSI) and 1335 (UTF-16);
    // empty: the host names none and both answer 0.
    void setSettingsFolder(const std::string& folder);

    // The reply to query with wParam. Paths and titles are handed out as pointers into entries,
    // which stay valid as long as the model lives: entries are only ever appended. Queries 201
    // and 1201 write the skin folder (cut to fit, always terminated) into the buffer at wParam.
    // Queries 335 and 1335 answer pointers to the settings folder held here. Every query is
    // counted by its number, known or not; unknown ones answer 0, and so do 213, 214 and 1201
    // (leaving the buffer alone), 335 and 1335 from an old host.
    intptr_t answer(int32_t query, uintptr_t wParam, uint64_t nowMs);
    int queryCount(int32_t query) const;

    PlaybackClock clock;
    std::deque<Entry> entries;
    int32_t current = 0;
    std::string skinFolder;      // UTF-8
    std::string settingsFolder;  // UTF-8
    std::string ansiSettingsFolder;
    std::u16string wideSettingsFolder;
    int oldHost = 0;  // answers as a player before version 5: 211 and 212 only
    std::map<int32_t, int> queryCounts;
};
