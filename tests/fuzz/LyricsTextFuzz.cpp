// Lyrics files of any bytes as the loader reads them: encoding detection, decoding, conversion to
// code page 932 through iconv, the cut at the text limit, then the parser.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/PosixLyricsEnvironment.h"
#include "lyrics/ShiftJis.h"
#include "lyrics/TextEncoding.h"

namespace {

// Whether the text ends after a whole character.
int endsWholly(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) i += isShiftJisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    return i == text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    int cutShort = data[0] & 1;  // the first byte says whether the file goes on
    std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    TextEncoding detected = detectEncoding(bytes, cutShort);
    if (detected != TextEncoding::kAnsi) {
        std::u16string units = decodeUnicode(bytes, detected, kMaxLyricsBytes + 1);
        require(units.size() <= kMaxLyricsBytes + 1);
        for (char16_t unit : units) require(unit < 0xD800 || unit > 0xDFFF);
    }

    PosixLyricsEnvironment environment;
    std::string text;
    TextEncoding encoding;
    require(lyricsFileText(bytes, cutShort, environment, text, encoding) == 1 && encoding == detected);
    require(text.size() <= kMaxLyricsBytes);
    if (encoding == TextEncoding::kAnsi) {
        require(text == bytes.substr(0, kMaxLyricsBytes));
    } else {
        require(endsWholly(text));
    }
    LyricsDocument document;
    IgnoredWarnings warnings;
    parseLyrics(document, text.data(), text.size(), 1, warnings);
    return 0;
}
