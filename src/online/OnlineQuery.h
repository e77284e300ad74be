#pragma once
// What an online lyrics search asks for a song, and the request paths of the LRCLIB API that ask
// it. Only these four things ever leave the machine: the track's title, its artist, its album and
// its length.
#include <cstdint>
#include <string>
#include <string_view>

struct OnlineQuery {
    std::string track;   // UTF-8
    std::string artist;
    std::string album;   // may be empty
    int32_t durationSeconds = 0;  // the host's song length; 0 or less: unknown
};

// Fills track and artist from the host's playlist title "Artist - Title" (split at the first
// " - "; spaces around each part dropped). 0 when the title holds no such pair.
int queryFromTitle(std::string_view hostTitle, OnlineQuery& query);

// Whether a search may be made: a track, an artist and a known length. Without a length the
// service cannot tell a song's versions apart, and a wrong match would show wrong lyrics.
bool queryIsComplete(const OnlineQuery& query);

// Text percent-encoded for a query string: every byte but A-Z a-z 0-9 - . _ ~ as %XX.
std::string percentEncoded(std::string_view text);

// "<server>/api/get?track_name=...&artist_name=...&album_name=...&duration=..." (a trailing "/"
// of server dropped).
std::string getRequestUrl(std::string_view server, const OnlineQuery& query);
// "<server>/api/search?track_name=...&artist_name=...".
std::string searchRequestUrl(std::string_view server, const OnlineQuery& query);

// The query as one line for the remembered misses: its fields lower-cased (ASCII) and joined by
// tabs, with tabs and line breaks inside them made spaces.
std::string missKey(const OnlineQuery& query);
