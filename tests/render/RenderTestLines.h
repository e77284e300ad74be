#pragma once
// Lyrics lines built straight through the document model, for the renderer's tests. The document's
// clock runs true (timeRatio 1, TimeType 0), so a mark's display time is its stored time.
#include <initializer_list>
#include <string>
#include <utility>

#include "lyrics/LyricsDocument.h"

inline LyricsLine makeLine(const std::string& text, std::initializer_list<std::pair<int32_t, int32_t>> marks,
                           int32_t isKaraoke = 1) {
    LyricsLine line;
    line.text = text;
    line.length = static_cast<int32_t>(text.size());
    line.isKaraoke = isKaraoke;
    for (auto& m : marks) line.marks.push_back({m.first, m.second});
    return line;
}

inline void makeTrueClock(LyricsDocument& document) {
    document.timeRatio = 1.0;
    document.frameRatio = 1.0;
    document.loaded = 1;
}
