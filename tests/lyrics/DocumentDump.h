#pragma once
// A whole parsed document as one line of text: the parse result, every header field, the ratios
// and counts, every line with its marks, and the malformed-tag warnings. Two parses gave the same
// document exactly when their dumps are equal.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "lyrics/LyricsDocument.h"

inline std::string dumpText(const char* text, size_t length) {
    std::string dump = "\"";
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", c);
            dump += escape;
        } else {
            dump += static_cast<char>(c);
        }
    }
    return dump + "\"";
}

inline std::string dumpField(const std::optional<std::string>& field) {
    return field ? dumpText(field->data(), field->size()) : "-";
}

inline std::string dumpDocument(const LyricsDocument& document, int result,
                                const std::vector<std::pair<int32_t, int32_t>>& warnings) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, " ratio=%.17g frames=%d total=%d", document.timeRatio, document.frames,
                  document.totalSec);
    std::string dump = "r" + std::to_string(result) + " title=" + dumpField(document.title) +
                       " artist=" + dumpField(document.artist) + " album=" + dumpField(document.album) +
                       " words=" + dumpField(document.words) + " music=" + dumpField(document.music) +
                       " by=" + dumpField(document.taggingBy) + numbers;
    for (const LyricsLine& line : document.lines) {
        dump += " | " + dumpText(line.text.data(), line.text.size()) + " " + std::to_string(line.length) + " k" +
                std::to_string(line.isKaraoke);
        for (const TimeMark& mark : line.marks)
            dump += " " + std::to_string(mark.offset) + ":" + std::to_string(mark.time);
    }
    for (const auto& [lineNumber, offset] : warnings)
        dump += " | warn " + std::to_string(lineNumber) + ":" + std::to_string(offset);
    return dump;
}

// The lines alone, each as its text (UTF-8 as it is), "(karaoke)" for a karaoke line, and its
// marks as offset@time: "Hello (karaoke) 0@100 3@150 5@300".
inline std::vector<std::string> linesWithMarks(const LyricsDocument& document) {
    std::vector<std::string> lines;
    for (const LyricsLine& line : document.lines) {
        std::string text = line.text + (line.isKaraoke ? " (karaoke)" : "");
        for (const TimeMark& mark : line.marks)
            text += " " + std::to_string(mark.offset) + "@" + std::to_string(mark.time);
        lines.push_back(text);
    }
    return lines;
}
