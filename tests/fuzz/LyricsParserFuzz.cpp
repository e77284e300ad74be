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
    requireLoadedDocument(document, timeType);
    return 0;
}
