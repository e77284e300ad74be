#pragma once
// What an LRCLIB answer means for a song: a pure function from the status and body the server
// sent to a result, whatever the body holds (any bytes, any JSON, any size the caller let in).
//
// Only synchronised lyrics count: the bar shows lyrics in time with the song, and a text without
// timing has nothing to wipe, as with lyrics in a song's tags. A record without them is no lyrics.
#include <cstdint>
#include <string>
#include <string_view>

struct OnlineQuery;

enum class AnswerKind {
    kLyrics,        // synchronised lyrics for the song
    kInstrumental,  // the song has no words: nothing to show, and nothing to ask again
    kNoLyrics,      // the song is known but has no synchronised lyrics, or no candidate matched
    kNotFound,      // 404: the service does not know the song
    kUnusable,      // another status, or a body that is no answer: nothing is concluded
};

struct LrclibRecord {
    std::string track;   // as the service names it (UTF-8)
    std::string artist;
    std::string album;
    double durationSeconds = 0;
    std::string syncedLyrics;
};

struct OnlineAnswer {
    AnswerKind kind = AnswerKind::kUnusable;
    LrclibRecord record;  // for kLyrics
};

// A candidate's length may differ from the song's by this much and still be the song.
constexpr double kDurationToleranceSeconds = 2.0;

// The answer to /api/get. A record whose length is off by more than the tolerance counts as not
// found (the search may still hold the right version).
OnlineAnswer readGetAnswer(int status, std::string_view body, int32_t durationSeconds);

// The answer to /api/search: among the records within the tolerance of durationSeconds, the
// closest one with synchronised lyrics or marked instrumental decides; none such: kNoLyrics.
OnlineAnswer readSearchAnswer(int status, std::string_view body, int32_t durationSeconds);

// The .lrc file kept for lyrics that arrived: [ti:], [ar:], [al:] and [length:] tags (the
// service's names, else the query's), then the lyrics, UTF-8 with CRLF line ends.
std::string lyricsFileFor(const LrclibRecord& record, const OnlineQuery& query);
