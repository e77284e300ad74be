#include "LyricsJson.h"

#include <charconv>
#include <cstdio>

#include "Utf8Text.h"
#include "lyrics/LyricsDocument.h"

namespace {

std::string quoted(const std::string& cp932) {
    std::string text = cp932ToUtf8(cp932);
    std::string json = "\"";
    for (char c : text) {
        switch (c) {
        case '"': json += "\\\""; break;
        case '\\': json += "\\\\"; break;
        case '\n': json += "\\n"; break;
        case '\r': json += "\\r"; break;
        case '\t': json += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                json += escape;
            } else {
                json += c;
            }
        }
    }
    return json + "\"";
}

std::string text(const char* field) { return field ? quoted(field) : "null"; }

// The shortest text that reads back as the same double.
std::string number(double value) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

std::string flag(int32_t value) { return value ? "true" : "false"; }

}  // namespace

std::string lyricsJson(const LyricsDocument& document, int32_t timeType, const std::vector<ToolWarning>& warnings) {
    std::string json = "{\n";
    json += "  \"loaded\": " + flag(document.loaded) + ",\n";
    json += "  \"encoding\": \"" + std::string(encodingName(document.encoding)) + "\",\n";
    json += "  \"title\": " + text(document.title) + ",\n";
    json += "  \"artist\": " + text(document.artist) + ",\n";
    json += "  \"album\": " + text(document.album) + ",\n";
    json += "  \"words\": " + text(document.words) + ",\n";
    json += "  \"music\": " + text(document.music) + ",\n";
    json += "  \"taggingBy\": " + text(document.taggingBy) + ",\n";
    json += "  \"timeRatio\": " + number(document.timeRatio) + ",\n";
    json += "  \"frameRatio\": " + number(document.frameRatio) + ",\n";
    json += "  \"frames\": " + std::to_string(document.frames) + ",\n";
    json += "  \"totalSec\": " + std::to_string(document.totalSec) + ",\n";
    json += "  \"offsetMs\": " + std::to_string(document.offsetMs) + ",\n";
    json += "  \"lines\": [";
    for (size_t n = 0; n < document.lines.size(); ++n) {
        const LyricsLine& line = document.lines[n];
        json += n ? ",\n    " : "\n    ";
        json += "{\"text\": " + quoted(line.text) + ", \"length\": " + std::to_string(line.length) +
                ", \"isKaraoke\": " + flag(line.isKaraoke) + ", \"marks\": [";
        for (size_t k = 0; k < line.marks.size(); ++k) {
            const TimeMark& mark = line.marks[k];
            json += k ? ", " : "";
            json += "{\"offset\": " + std::to_string(mark.offset) + ", \"time\": " + std::to_string(mark.time) +
                    ", \"displayTime\": " + std::to_string(document.displayTime(mark, timeType)) + "}";
        }
        json += "]}";
    }
    json += document.lines.empty() ? "],\n" : "\n  ],\n";
    json += "  \"warnings\": [";
    for (size_t i = 0; i < warnings.size(); ++i) {
        json += i ? ",\n    " : "\n    ";
        json += "{\"line\": " + std::to_string(warnings[i].lineNumber) +
                ", \"offset\": " + std::to_string(warnings[i].offset) + "}";
    }
    json += warnings.empty() ? "]\n" : "\n  ]\n";
    return json + "}\n";
}
