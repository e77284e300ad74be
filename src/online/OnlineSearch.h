#pragma once
// The search for a song's lyrics on an LRCLIB server: /api/get with the whole query, and when the
// server does not know that exact song, /api/search with its track and artist (LrclibAnswer.h
// chooses among the candidates). The steps are platform-free; the requests go through an
// HttpClient (the plug-in's: WinHttpClient), which follows no redirect itself: a redirect on the
// same server is followed here, kMaxRedirects times at most, and one to another server (another
// scheme, host or port) ends the search as a fault, the query never sent there.
#include <string>
#include <vector>

#include "online/LrclibAnswer.h"
#include "online/OnlineQuery.h"

// Bodies longer than this are refused unread: no lyrics answer comes near it.
constexpr size_t kMaxAnswerBytes = 1024 * 1024;
constexpr int kMaxRedirects = 3;

struct HttpAnswer {
    int status = 0;        // 0: no answer (see failure)
    std::string body;      // at most kMaxAnswerBytes
    std::string failure;   // why there is no answer, in English ("timed out", "answer too large")
    std::string location;  // a redirect's Location header, as sent
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // A lookup begins: the requests until the next one share one deadline, the lookup's.
    virtual void beginLookup() = 0;
    // GETs url, following no redirect; 1 with the status and body, or 0 with answer.failure.
    virtual int get(const std::string& url, HttpAnswer& answer) = 0;
};

// What a search did, step by step, for the command line's report.
struct SearchStep {
    std::string url;
    HttpAnswer answer;
};

struct SearchOutcome {
    OnlineAnswer answer;  // kNotFound after both steps reads as kNoLyrics
    std::vector<SearchStep> steps;
    std::string fault;  // why the search ended without reading an answer, where no request says it
    std::string file;   // for kLyrics: the song's copy to keep (lyricsFileFor)
};

// Runs the search for a complete query (queryIsComplete) on server, in one lookup of the client.
// A server address with a problem sends nothing. A failed request ends it as kUnusable, and so
// does lyrics whose file would not read back whole.
SearchOutcome searchLrclib(const std::string& server, const OnlineQuery& query, HttpClient& client);

// Whether the outcome is a miss worth remembering: the server answered, and has nothing to show.
bool isRememberedMiss(AnswerKind kind);
