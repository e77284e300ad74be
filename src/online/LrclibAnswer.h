#pragma once
// What an LRCLIB answer means for a song: a pure function from the status and body the server
// sent to a result, whatever the body holds (any bytes, any JSON, any size the caller let in).
//
// Only a well-formed answer concludes anything: a 404 whose body is a JSON object, or a 200 whose
// body is a record (/api/get) or a list of records (/api/search). A record is a JSON object with
// its "duration" a number and its "syncedLyrics" a string or null, and with the fields read from
// it ("trackName", "artistName", "albumName": strings or null; "instrumental": a boolean or null)
// of their types where they are there. Anything else is unusable: nothing is concluded from it.
//
// Only synchronised lyrics count: the bar shows lyrics in time with the song, and a text without
// timing has nothing to wipe, as with lyrics in a song's tags. A record without them is no lyrics.
#include <cstdint>
#include <string>
#include <string_view>

#include "lyrics/SongNames.h"

struct OnlineQuery;

enum class AnswerKind {
    kLyrics,        // synchronised lyrics for the song
    kInstrumental,  // the song has no words: nothing to show, and nothing to ask again
    kNoLyrics,      // the song is known but has no synchronised lyrics, or no candidate matched
    kNotFound,      // 404: the service does not know the song
    kUnusable,      // another status, a body that is no well-formed answer, or lyrics that cannot
                    // be kept (holding a zero character): nothing is concluded
};

struct LrclibRecord {
    std::string track;  // as the service names it (UTF-8)
    std::string artist;
    std::string album;
    double durationSeconds = 0;
    std::string syncedLyrics;
};

struct OnlineAnswer {
    AnswerKind kind = AnswerKind::kUnusable;
    LrclibRecord record;  // for kLyrics
};

// An offset tag in the service's lyrics moving them further than this either way is no timing of
// the song (a typo, or a prank): it is left out of what is kept.
constexpr int32_t kMaxServerOffsetMs = 10 * 60 * 1000;

// The answer to /api/get. A record whose length is off by more than kDurationToleranceSeconds
// counts as not found (the search may still hold the right version).
OnlineAnswer readGetAnswer(int status, std::string_view body, int32_t durationSeconds);

// The answer to /api/search: among the records within the tolerance of durationSeconds, the
// closest one with synchronised lyrics or marked instrumental decides; none such: kNoLyrics.
OnlineAnswer readSearchAnswer(int status, std::string_view body, int32_t durationSeconds);

// The .lrc file kept for lyrics that arrived, the song's copy: [ti:], [ar:], [al:] and [length:]
// tags saying whose it is (the song's names and length, the service's where the song has none),
// then the lyrics without offset tags beyond kMaxServerOffsetMs, UTF-8 with CRLF line ends.
std::string lyricsFileFor(const LrclibRecord& record, const OnlineQuery& query);
