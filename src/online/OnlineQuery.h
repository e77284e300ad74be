#pragma once
// What an online lyrics search asks for a song, and the request addresses of the LRCLIB API that
// ask it. Only these four things ever leave the machine: the track's title, its artist, its album
// and its length; and they go only to the server the user set, never where it redirects elsewhere.
#include <cstdint>
#include <string>
#include <string_view>

struct OnlineQuery {
    std::string track;  // UTF-8
    std::string artist;
    std::string album;            // may be empty
    int32_t durationSeconds = 0;  // the host's song length; 0 or less: unknown
};

// Whether a search may be made: a track, an artist and a known length. Without a length the
// service cannot tell a song's versions apart, and a wrong match would show wrong lyrics.
bool queryIsComplete(const OnlineQuery& query);

// Text percent-encoded for a query string: every byte but A-Z a-z 0-9 - . _ ~ as %XX.
std::string percentEncoded(std::string_view text);

// What keeps an address from being the server's: the API's paths go below it, so it may hold a
// path ("https://example.org/lrclib") but no query or fragment, which would swallow them.
enum class ServerAddressProblem {
    kNone,
    kNotHttp,          // not "http://" or "https://" with a host (and a port of digits), or holds blanks
    kQueryOrFragment,  // holds "?" or "#"
};
ServerAddressProblem serverAddressProblem(std::string_view server);
// What is wrong, in English, to follow "the server address": "holds a query or fragment ...".
const char* serverAddressProblemText(ServerAddressProblem problem);

// "<server>/api/get?track_name=...&artist_name=...&album_name=...&duration=..." (a trailing "/"
// of server dropped); server has no problem.
std::string getRequestUrl(std::string_view server, const OnlineQuery& query);
// "<server>/api/search?track_name=...&artist_name=...".
std::string searchRequestUrl(std::string_view server, const OnlineQuery& query);

// Where a redirect from url with the Location location leads: an absolute address, one without
// its scheme ("//host/..."), a path from the root or one relative to url's; the fragment dropped.
// 1 with target when it stays on url's scheme, host and port (letter case and a default port
// written out aside); 0 for another server, or a location that is no address.
int sameServerRedirect(std::string_view url, std::string_view location, std::string& target);

// The query as one line for the remembered misses: its fields lower-cased (ASCII) and joined by
// tabs, with tabs and line breaks inside them made spaces.
std::string missKey(const OnlineQuery& query);
