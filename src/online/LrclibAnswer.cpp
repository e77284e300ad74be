#include "online/LrclibAnswer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <nlohmann/json.hpp>

#include "online/OnlineQuery.h"

namespace {

using Json = nlohmann::json;

std::string stringField(const Json& object, const char* name) {
    auto it = object.find(name);
    return it != object.end() && it->is_string() ? it->get_ref<const std::string&>() : std::string();
}

bool isInstrumental(const Json& object) {
    auto it = object.find("instrumental");
    return it != object.end() && it->is_boolean() && it->get<bool>();
}

// The record's length, or -1 when it gives none usable.
double durationField(const Json& object) {
    auto it = object.find("duration");
    if (it == object.end() || !it->is_number()) return -1;
    double seconds = it->get<double>();
    return std::isfinite(seconds) && seconds >= 0 ? seconds : -1;
}

bool withinTolerance(double recordSeconds, int32_t songSeconds) {
    return recordSeconds >= 0 && std::fabs(recordSeconds - songSeconds) <= kDurationToleranceSeconds;
}

// What one record says: lyrics, instrumental, or no lyrics.
OnlineAnswer readRecord(const Json& object) {
    OnlineAnswer answer;
    if (isInstrumental(object)) {
        answer.kind = AnswerKind::kInstrumental;
        return answer;
    }
    std::string synced = stringField(object, "syncedLyrics");
    if (synced.find_first_not_of(" \t\r\n") == std::string::npos) {
        answer.kind = AnswerKind::kNoLyrics;
        return answer;
    }
    answer.kind = AnswerKind::kLyrics;
    answer.record.track = stringField(object, "trackName");
    answer.record.artist = stringField(object, "artistName");
    answer.record.album = stringField(object, "albumName");
    answer.record.durationSeconds = durationField(object);
    answer.record.syncedLyrics = std::move(synced);
    return answer;
}

Json parsed(std::string_view body) { return Json::parse(body.begin(), body.end(), nullptr, false); }

// A tag's value on one line, without the brackets that would end the tag early.
std::string tagValue(const std::string& preferred, const std::string& fallback) {
    std::string value;
    for (char c : preferred.empty() ? fallback : preferred) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
        if (c == '[' || c == ']' || static_cast<unsigned char>(c) < 0x20) continue;
        value += c;
    }
    return value;
}

OnlineAnswer getAnswer(int status, std::string_view body, int32_t durationSeconds) {
    OnlineAnswer answer;
    if (status == 404) {
        answer.kind = AnswerKind::kNotFound;
        return answer;
    }
    if (status != 200) return answer;
    Json json = parsed(body);
    if (!json.is_object()) return answer;
    double seconds = durationField(json);
    if (seconds >= 0 && !withinTolerance(seconds, durationSeconds)) {
        answer.kind = AnswerKind::kNotFound;
        return answer;
    }
    return readRecord(json);
}

OnlineAnswer searchAnswer(int status, std::string_view body, int32_t durationSeconds) {
    OnlineAnswer answer;
    if (status != 200) return answer;
    Json json = parsed(body);
    if (!json.is_array()) return answer;
    struct Candidate {
        double distance;
        size_t index;
    };
    std::vector<Candidate> candidates;
    for (size_t i = 0; i < json.size(); ++i) {
        if (!json[i].is_object()) continue;
        double seconds = durationField(json[i]);
        if (withinTolerance(seconds, durationSeconds)) candidates.push_back({std::fabs(seconds - durationSeconds), i});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });
    for (const Candidate& candidate : candidates) {
        OnlineAnswer record = readRecord(json[candidate.index]);
        if (record.kind != AnswerKind::kNoLyrics) return record;
    }
    answer.kind = AnswerKind::kNoLyrics;
    return answer;
}

// The JSON library throws only when memory runs out; an answer that cannot be read then is no answer.
template <typename Reader>
OnlineAnswer unlessItThrows(Reader reader) {
    try {
        return reader();
    } catch (...) {
        return OnlineAnswer();
    }
}

}  // namespace

OnlineAnswer readGetAnswer(int status, std::string_view body, int32_t durationSeconds) {
    return unlessItThrows([&] { return getAnswer(status, body, durationSeconds); });
}

OnlineAnswer readSearchAnswer(int status, std::string_view body, int32_t durationSeconds) {
    return unlessItThrows([&] { return searchAnswer(status, body, durationSeconds); });
}

std::string lyricsFileFor(const LrclibRecord& record, const OnlineQuery& query) {
    std::string file = "[ti:" + tagValue(record.track, query.track) + "]\r\n";
    file += "[ar:" + tagValue(record.artist, query.artist) + "]\r\n";
    file += "[al:" + tagValue(record.album, query.album) + "]\r\n";
    double seconds = record.durationSeconds >= 0 && record.durationSeconds < 360000 ? record.durationSeconds
                                                                                     : query.durationSeconds;
    long whole = std::lround(seconds);
    char length[48];
    std::snprintf(length, sizeof length, "[length:%ld:%02ld]\r\n", whole / 60, whole % 60);
    file += length;
    // Line ends made CRLF: the file is for Windows editors too.
    for (size_t i = 0; i < record.syncedLyrics.size(); ++i) {
        char c = record.syncedLyrics[i];
        if (c == '\r') {
            if (i + 1 < record.syncedLyrics.size() && record.syncedLyrics[i + 1] == '\n') ++i;
            file += "\r\n";
        } else if (c == '\n') {
            file += "\r\n";
        } else {
            file += c;
        }
    }
    if (file.size() < 2 || file.compare(file.size() - 2, 2, "\r\n") != 0) file += "\r\n";
    return file;
}
