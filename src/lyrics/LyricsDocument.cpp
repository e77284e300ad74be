#include "lyrics/LyricsDocument.h"

#include <cstdint>

std::string headerText(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

const TimeMark* LyricsLine::mark(int32_t k) const {
    if (marks.empty()) return nullptr;
    if (k <= 0) return &marks.front();
    if (static_cast<size_t>(k) >= marks.size()) return &marks.back();
    return &marks[static_cast<size_t>(k)];
}

LyricsLine* LyricsDocument::line(int32_t n) {
    return const_cast<LyricsLine*>(static_cast<const LyricsDocument*>(this)->line(n));
}

const LyricsLine* LyricsDocument::line(int32_t n) const {
    if (lines.empty()) return nullptr;
    if (n <= 0) return &lines.front();
    if (static_cast<size_t>(n) < lines.size()) return &lines[static_cast<size_t>(n)];
    return n == kLastIndex ? &lines.back() : nullptr;
}

int32_t LyricsDocument::displayTime(const TimeMark& mark, int32_t timeType) const {
    double t = static_cast<double>(mark.time) / timeRatio;
    if (timeType != 0) t *= frameRatio;
    // Saturate rather than overflow: a converted time outside int32 is undefined behaviour.
    if (!(t > INT32_MIN)) return t != t ? 0 : INT32_MIN;
    if (t >= INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(t);
}

int32_t LyricsDocument::startTime(const LyricsLine& line, int32_t timeType) const {
    const TimeMark* m = line.mark(0);
    return m ? displayTime(*m, timeType) : 0;
}

int32_t LyricsDocument::endTime(const LyricsLine& line, int32_t timeType) const {
    const TimeMark* m = line.mark(kLastIndex);
    return m ? displayTime(*m, timeType) : 0;
}

void LyricsDocument::clearHeaders() {
    for (std::optional<std::string>* field : {&title, &artist, &album, &words, &music, &taggingBy}) field->reset();
}

void LyricsDocument::reset() {
    timeRatio = kDefaultRatio;
    frameRatio = kDefaultRatio;
    sampleRateKHz = kDefaultSampleRateKHz;
    frames = 0;
    totalSec = 0;
    offsetMs = 0;
    lyricsFile.clear();
    encoding = TextEncoding::kAnsi;
    ansiCodePage = 0;
    tagField.clear();
    sourceText.clear();
    downloadCopy.clear();
    lines.clear();
}

void LyricsDocument::setFrameLength(int32_t samples) {
    sampleRateKHz = kDefaultSampleRateKHz;
    double frameMs = samples / sampleRateKHz;
    frameRatio = static_cast<int32_t>(frameMs) / frameMs;
}
