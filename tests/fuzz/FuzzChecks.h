#pragma once
// What the lyrics fuzz targets share: a failed promise ends the run, warnings go nowhere.
#include <cstdint>
#include <cstdlib>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "utils/Utf.h"

inline void require(bool condition) {
    if (!condition) std::abort();
}

class IgnoredWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t, int32_t) override {}
};

// The promises of a loaded document: lines of UTF-8 text with marks inside it, the completed ones
// marked from their first character to their end, and (when ordering could finish) in time order.
inline void requireLoadedDocument(const LyricsDocument& document, int32_t timeType) {
    require(!document.lines.empty());
    for (size_t n = 0; n < document.lines.size(); ++n) {
        const LyricsLine& line = document.lines[n];
        require(!line.text.empty() && line.length == static_cast<int32_t>(line.text.size()));
        require(!line.marks.empty());
        for (const TimeMark& mark : line.marks) require(mark.offset >= 0 && mark.offset <= line.length);
        if (n <= static_cast<size_t>(kLastCompletedIndex)) {
            require(line.marks.size() >= 2 && line.mark(0)->offset == 0 &&
                    line.mark(kLastIndex)->offset == line.length);
        }
        if (n > 0 && document.lines.size() <= static_cast<size_t>(kOrderingPasses) + 1) {
            require(document.startTime(document.lines[n - 1], timeType) <= document.startTime(line, timeType));
        }
    }
}
