// parseLyrics over any text: no fault, and every document it accepts keeps the model's promises.
#include <cstdint>

#include "FuzzChecks.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    int32_t timeType = data[0] & 1;  // the first byte picks the time base
    LyricsDocument document;
    IgnoredWarnings warnings;
    int result = parseLyrics(document, reinterpret_cast<const char*>(data + 1), size - 1, timeType, warnings);
    if (!result) {
        require(document.lines.empty());
        return 0;
    }
    require(!document.lines.empty());
    for (size_t n = 0; n < document.lines.size(); ++n) {
        const LyricsLine& line = document.lines[n];
        require(!line.text.empty() && line.length == static_cast<int32_t>(line.text.size()));
        require(!line.marks.empty());
        for (const TimeMark& mark : line.marks) require(mark.offset >= 0 && mark.offset <= line.length);
        if (n <= static_cast<size_t>(kLastCompletedIndex)) {
            require(line.marks.size() >= 2 && line.mark(0)->offset == 0 && line.mark(kLastIndex)->offset == line.length);
        }
        // With no line more places out of order than the ordering passes, the order is complete.
        if (n > 0 && document.lines.size() <= static_cast<size_t>(kOrderingPasses) + 1) {
            require(document.startTime(document.lines[n - 1], timeType) <= document.startTime(line, timeType));
        }
    }
    return 0;
}
