#include "online/OnlineSearch.h"

#include <utility>

#include "lyrics/LyricsLoader.h"

namespace {

bool isRedirect(const HttpAnswer& answer) {
    int status = answer.status;
    return (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) &&
           !answer.location.empty();
}

// One request, and the redirects on the same server it leads to; 0 when it brought no answer.
int fetch(std::string url, HttpClient& client, SearchOutcome& outcome) {
    for (int redirects = 0;; ++redirects) {
        outcome.steps.push_back({url, {}});
        HttpAnswer& answer = outcome.steps.back().answer;
        if (!client.get(url, answer)) break;
        if (!isRedirect(answer)) return 1;
        if (redirects == kMaxRedirects) {
            outcome.fault = "more than " + std::to_string(kMaxRedirects) + " redirects";
            break;
        }
        std::string target;
        if (!sameServerRedirect(url, answer.location, target)) {
            outcome.fault = "a redirect away from the server, not followed: " + answer.location;
            break;
        }
        url = std::move(target);
    }
    outcome.answer = OnlineAnswer();
    return 0;
}

}  // namespace

SearchOutcome searchLrclib(const std::string& server, const OnlineQuery& query, HttpClient& client) {
    SearchOutcome outcome;
    ServerAddressProblem problem = serverAddressProblem(server);
    if (problem != ServerAddressProblem::kNone) {
        outcome.fault = std::string("the server address ") + serverAddressProblemText(problem);
        return outcome;
    }
    client.beginLookup();
    if (!fetch(getRequestUrl(server, query), client, outcome)) return outcome;
    const HttpAnswer& got = outcome.steps.back().answer;
    outcome.answer = readGetAnswer(got.status, got.body, query.durationSeconds);
    if (outcome.answer.kind == AnswerKind::kNotFound) {
        if (!fetch(searchRequestUrl(server, query), client, outcome)) return outcome;
        const HttpAnswer& found = outcome.steps.back().answer;
        outcome.answer = readSearchAnswer(found.status, found.body, query.durationSeconds);
    }
    if (outcome.answer.kind != AnswerKind::kLyrics) return outcome;
    outcome.file = lyricsFileFor(outcome.answer.record, query);
    if (!lyricsFileReadsWhole(outcome.file)) {
        outcome.fault = "the lyrics are longer than Sorvane reads";
        outcome.answer = OnlineAnswer();
        outcome.file.clear();
    }
    return outcome;
}

bool isRememberedMiss(AnswerKind kind) {
    return kind == AnswerKind::kInstrumental || kind == AnswerKind::kNoLyrics || kind == AnswerKind::kNotFound;
}
