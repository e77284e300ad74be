#include "online/OnlineSearch.h"

#include <utility>

namespace {

// One request; 0 when it brought no answer.
int fetch(const std::string& url, HttpClient& client, SearchOutcome& outcome) {
    outcome.steps.push_back({url, {}});
    HttpAnswer& answer = outcome.steps.back().answer;
    if (client.get(url, answer)) return 1;
    outcome.answer.kind = AnswerKind::kUnusable;
    return 0;
}

}  // namespace

SearchOutcome searchLrclib(const std::string& server, const OnlineQuery& query, HttpClient& client) {
    SearchOutcome outcome;
    if (!fetch(getRequestUrl(server, query), client, outcome)) return outcome;
    const HttpAnswer& got = outcome.steps.back().answer;
    outcome.answer = readGetAnswer(got.status, got.body, query.durationSeconds);
    if (outcome.answer.kind != AnswerKind::kNotFound) return outcome;
    if (!fetch(searchRequestUrl(server, query), client, outcome)) return outcome;
    const HttpAnswer& found = outcome.steps.back().answer;
    outcome.answer = readSearchAnswer(found.status, found.body, query.durationSeconds);
    return outcome;
}

bool isRememberedMiss(AnswerKind kind) {
    return kind == AnswerKind::kInstrumental || kind == AnswerKind::kNoLyrics || kind == AnswerKind::kNotFound;
}
