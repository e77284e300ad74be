#include "online/LrclibAnswer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <nlohmann/json.hpp>

#include "lyrics/HeaderLine.h"
#include "online/OnlineQuery.h"

namespace {

using Json = nlohmann::json;

// The field is absent, or holds one of the given types.
template <typename... Checks>
bool absentOr(const Json& object, const char* name, Checks... checks) {
    auto it = object.find(name);
    return it == object.end() || (... || ((*it).*checks)());
}

bool isWellFormedRecord(const Json& record) {
    if (!record.is_object() || !record.contains("duration") || !record.contains("syncedLyrics")) return false;
    const Json& duration = record["duration"];
    if (!duration.is_number() || !std::isfinite(duration.get<double>()) || duration.get<double>() < 0) return false;
    for (const char* text : {"syncedLyrics", "trackName", "artistName", "albumName"})
        if (!absentOr(record, text, &Json::is_string, &Json::is_null)) return false;
    return absentOr(record, "instrumental", &Json::is_boolean, &Json::is_null);
}

std::string stringField(const Json& object, const char* name) {
    auto it = object.find(name);
    return it != object.end() && it->is_string() ? it->get_ref<const std::string&>() : std::string();
}

bool isInstrumental(const Json& object) {
    auto it = object.find("instrumental");
    return it != object.end() && it->is_boolean() && it->get<bool>();
}

bool withinTolerance(double recordSeconds, int32_t songSeconds) {
    return std::fabs(recordSeconds - songSeconds) <= kDurationToleranceSeconds;
}

// What one well-formed record says: lyrics, instrumental, no lyrics, or lyrics no file can keep.
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
    // A zero character ends a line, and two the text, for the parser: the file would not read back.
    if (synced.find('\0') != std::string::npos) return answer;
    answer.kind = AnswerKind::kLyrics;
    answer.record.track = stringField(object, "trackName");
    answer.record.artist = stringField(object, "artistName");
    answer.record.album = stringField(object, "albumName");
    answer.record.durationSeconds = object["duration"].get<double>();
    answer.record.syncedLyrics = std::move(synced);
    return answer;
}

Json parsed(std::string_view body) { return Json::parse(body.begin(), body.end(), nullptr, false); }

OnlineAnswer getAnswer(int status, std::string_view body, int32_t durationSeconds) {
    OnlineAnswer answer;
    if (status != 200 && status != 404) return answer;
    Json json = parsed(body);
    if (status == 404) {
        if (json.is_object()) answer.kind = AnswerKind::kNotFound;
        return answer;
    }
    if (!isWellFormedRecord(json)) return answer;
    if (!withinTolerance(json["duration"].get<double>(), durationSeconds)) {
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
        if (!isWellFormedRecord(json[i])) return answer;
        double seconds = json[i]["duration"].get<double>();
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

// An offset tag line moving the lyrics further than the service's text may.
bool isAbsurdOffset(std::string_view line) {
    IdTag tag;
    int32_t offsetMs = 0;
    return splitIdTag(line, tag) && offsetTagValue(tag, offsetMs) &&
           (offsetMs > kMaxServerOffsetMs || offsetMs < -kMaxServerOffsetMs);
}

}  // namespace

OnlineAnswer readGetAnswer(int status, std::string_view body, int32_t durationSeconds) {
    return unlessItThrows([&] { return getAnswer(status, body, durationSeconds); });
}

OnlineAnswer readSearchAnswer(int status, std::string_view body, int32_t durationSeconds) {
    return unlessItThrows([&] { return searchAnswer(status, body, durationSeconds); });
}

std::string lyricsFileFor(const LrclibRecord& record, const OnlineQuery& query) {
    auto tag = [](const char* key, const std::string& preferred, const std::string& fallback) {
        return "[" + std::string(key) + ":" + idTagValue(preferred.empty() ? fallback : preferred) + "]\r\n";
    };
    std::string file = tag("ti", query.track, record.track) + tag("ar", query.artist, record.artist) +
                       tag("al", query.album, record.album);
    double seconds = query.durationSeconds > 0 ? query.durationSeconds : record.durationSeconds;
    long whole = seconds >= 0 && seconds < 360000 ? std::lround(seconds) : 0;
    char length[48];
    std::snprintf(length, sizeof length, "[length:%ld:%02ld]\r\n", whole / 60, whole % 60);
    file += length;
    // Line by line, each ended CRLF: the file is for Windows editors too.
    std::string_view lyrics = record.syncedLyrics;
    while (!lyrics.empty()) {
        size_t end = lyrics.find_first_of("\r\n");
        std::string_view line = lyrics.substr(0, end);
        if (end == std::string_view::npos) {
            lyrics = {};
        } else {
            lyrics.remove_prefix(end +
                                 (lyrics[end] == '\r' && end + 1 < lyrics.size() && lyrics[end + 1] == '\n' ? 2 : 1));
        }
        if (!isAbsurdOffset(line)) file += std::string(line) + "\r\n";
    }
    return file;
}
