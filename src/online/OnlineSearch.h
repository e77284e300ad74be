#pragma once
// The search for a song's lyrics on an LRCLIB server: /api/get with the whole query, and when the
// server does not know that exact song, /api/search with its track and artist (LrclibAnswer.h
// chooses among the candidates). The steps are platform-free; the requests go through an
// HttpClient (the plug-in's: WinHttpClient).
#include <string>
#include <vector>

#include "online/LrclibAnswer.h"
#include "online/OnlineQuery.h"

// Bodies longer than this are refused unread: no lyrics answer comes near it.
constexpr size_t kMaxAnswerBytes = 1024 * 1024;

struct HttpAnswer {
    int status = 0;    // 0: no answer (see failure)
    std::string body;  // at most kMaxAnswerBytes
    std::string failure;  // why there is no answer, in English ("timed out", "answer too large")
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // GETs url; 1 with the status and body, or 0 with answer.failure.
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
};

// Runs the search for a complete query (queryIsComplete). A failed request ends it as kUnusable.
SearchOutcome searchLrclib(const std::string& server, const OnlineQuery& query, HttpClient& client);

// Whether the outcome is a miss worth remembering: the server answered, and has nothing to show.
bool isRememberedMiss(AnswerKind kind);
