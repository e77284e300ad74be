#pragma once
// What an offset tag in a lyrics file should do, told by the parser alone: a text that ends in
// the tag line, which overrides any tag before it and applies to every time.
#include <string>
#include <string_view>

#include "lyrics/DocumentDump.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/OffsetTag.h"

// A lyrics text (UTF-8, as the loader hands it to the parser) with offsetMs as its offset.
inline std::string withOffsetTag(std::string text, int32_t offsetMs) {
    size_t end = text.find(std::string_view("\0\0", 2));  // the parser reads no further
    if (end != std::string::npos) text.resize(end + 1);
    return text + "\n" + offsetTagLine(offsetMs);
}

// The parsed text as one line (its warnings left out: their line numbers count the tag lines).
inline std::string loadedText(const std::string& text) {
    class NoWarnings : public LyricsWarnings {
        void malformedTag(int32_t, int32_t) override {}
    } warnings;
    LyricsDocument document;
    int result = parseLyrics(document, text.data(), text.size(), 1, warnings);
    return dumpDocument(document, result, {}) + " offset=" + std::to_string(document.offsetMs);
}
