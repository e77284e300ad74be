#include "LyricsJson.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "lyrics/LyricsDocument.h"
#include "utils/Utf.h"

namespace {

// The text as a JSON string. The document's texts are UTF-8; should a byte form no character, it
// is written as U+FFFD, so that the output always is.
std::string quoted(std::string_view text) {
    std::string json = "\"";
    for (size_t i = 0; i < text.size();) {
        size_t length;
        char32_t character = decodeUtf8(text, i, length);
        char c = text[i];
        i += length;
        if (character >= 0x80) {
            appendUtf8(json, character);
            continue;
        }
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

std::string text(const std::optional<std::string>& field) { return field ? quoted(*field) : "null"; }

std::string optional(const std::string& field) { return field.empty() ? "null" : quoted(field); }

// The shortest text that reads back as the same double.
std::string number(double value) {
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

std::string flag(int32_t value) { return value ? "true" : "false"; }

// A byte offset into the text counted in characters (code points), as editors and programs count.
std::string characters(const std::string& text, int32_t offset) {
    return std::to_string(codePointsBefore(text, static_cast<size_t>(std::max(offset, 0))));
}

}  // namespace

std::string lyricsJson(const LyricsDocument& document, int32_t timeType, const std::vector<ToolWarning>& warnings) {
    std::string json = "{\n";
    json += "  \"loaded\": " + flag(document.loaded) + ",\n";
    json += "  \"encoding\": \"" + encodingName(document.encoding, document.ansiCodePage) + "\",\n";
    json += "  \"tagField\": " + (document.tagField.empty() ? std::string("null") : quoted(document.tagField)) + ",\n";
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
        std::string background =
            line.backgroundOffset < 0 ? std::string() : line.text.substr(static_cast<size_t>(line.backgroundOffset));
        json += "{\"text\": " + quoted(line.text) + ", \"length\": " + characters(line.text, line.length) +
                ", \"isKaraoke\": " + flag(line.isKaraoke) + ", \"translation\": " + optional(line.translation) +
                ", \"secondTranslation\": " + optional(line.secondTranslation) +
                ", \"romanisation\": " + optional(line.romanisation) + ", \"agent\": " + optional(line.agent) +
                ", \"voice\": " + std::to_string(line.voice) + ", \"background\": " + optional(background) +
                ", \"marks\": [";
        for (size_t k = 0; k < line.marks.size(); ++k) {
            const TimeMark& mark = line.marks[k];
            json += k ? ", " : "";
            json += "{\"offset\": " + characters(line.text, mark.offset) + ", \"time\": " + std::to_string(mark.time) +
                    ", \"displayTime\": " + std::to_string(document.displayTime(mark, timeType)) + "}";
        }
        json += "]}";
    }
    json += document.lines.empty() ? "],\n" : "\n  ],\n";
    json += "  \"warnings\": [";
    for (size_t i = 0; i < warnings.size(); ++i) {
        json += i ? ",\n    " : "\n    ";
        json += "{\"line\": " + std::to_string(warnings[i].lineNumber) +
                ", \"offset\": " + std::to_string(warnings[i].offset);
        if (!warnings[i].problem.empty()) json += ", \"problem\": " + quoted(warnings[i].problem);
        json += "}";
    }
    json += warnings.empty() ? "]\n" : "\n  ]\n";
    return json + "}\n";
}
