// parseTtml over any bytes: no fault, and every document it accepts keeps the model's promises,
// with the wipe never running back and texts that are UTF-8.
#include <cstdint>
#include <string_view>
#include <vector>

#include "FuzzChecks.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/TtmlLyrics.h"
#include "utils/Utf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LyricsDocument document;
    std::vector<TtmlWarning> warnings;
    int result = parseTtml(document, std::string_view(reinterpret_cast<const char*>(data), size), 1, warnings);
    require(warnings.size() <= kMaxTtmlWarnings);
    if (!result) {
        require(document.lines.empty() && !warnings.empty());
        return 0;
    }
    requireLoadedDocument(document, 1);
    for (const LyricsLine& line : document.lines) {
        for (size_t k = 1; k < line.marks.size(); ++k)
            require(line.marks[k - 1].offset <= line.marks[k].offset && line.marks[k - 1].time <= line.marks[k].time);
        require(line.backgroundOffset >= -1 && line.backgroundOffset < line.length);
        require(line.voice >= 0);
        for (const std::string* text : {&line.text, &line.translation, &line.secondTranslation, &line.romanisation})
            require(isValidUtf8(*text));
    }
    return 0;
}
