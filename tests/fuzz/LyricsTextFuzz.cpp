// Lyrics files of any bytes as the loader reads them: encoding detection, the Unicode decoder (in
// every encoding, whatever was detected), the conversion from code page 932 through iconv, the
// limits, then the parser.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/PosixLyricsEnvironment.h"
#include "lyrics/TextEncoding.h"
#include "utils/Utf.h"

namespace {

size_t characters(const std::string& text) { return codePointsBefore(text, text.size()); }

// UTF-16 units of the bytes after the mark, and whether half a unit is left over.
std::u16string unitsOf(std::string_view bytes, int bigEndian, int& oddByte) {
    std::u16string units;
    size_t i = 2;
    for (; i + 1 < bytes.size(); i += 2) {
        unsigned first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    oddByte = i < bytes.size();
    return units;
}

bool isHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// A surrogate without its other half.
bool isLone(const std::u16string& units, size_t k) {
    if (isHigh(units[k])) return k + 1 == units.size() || !isLow(units[k + 1]);
    if (isLow(units[k])) return k == 0 || !isHigh(units[k - 1]);
    return false;
}

// The decoded UTF-16 file, read back as UTF-16, is the file's units one for one: a lone surrogate
// and half a unit became U+FFFD, nothing else changed, nothing was left out before the limit.
void checkUtf16(std::string_view bytes, int bigEndian, size_t limit) {
    int oddByte;
    std::u16string units = unitsOf(bytes, bigEndian, oddByte);
    std::string text = decodeUnicode(bytes, bigEndian ? TextEncoding::kUtf16Be : TextEncoding::kUtf16Le, limit);
    require(isValidUtf8(text) && characters(text) <= limit);
    std::u16string back = utf8ToUtf16(text);
    require(back.size() <= units.size() + oddByte);
    for (size_t k = 0; k < back.size(); ++k) {
        if (k == units.size()) {
            require(back[k] == kReplacementCharacter);
        } else {
            require(back[k] == units[k] || (back[k] == kReplacementCharacter && isLone(units, k)));
        }
    }
    if (back.size() < units.size() + oddByte) require(characters(text) == limit);
}

void checkUtf8(std::string_view bytes, int withMark, size_t limit) {
    std::string_view body = withMark ? bytes.substr(std::min<size_t>(3, bytes.size())) : bytes;
    std::string text = decodeUnicode(bytes, withMark ? TextEncoding::kUtf8Bom : TextEncoding::kUtf8, limit);
    require(isValidUtf8(text) && characters(text) <= limit);
    // Whole characters only, in order: what decodes to the same UTF-16 as the input's start.
    std::u16string back = utf8ToUtf16(text), expected = utf8ToUtf16(body);
    require(expected.compare(0, back.size(), back) == 0);
    if (isValidUtf8(body)) require(body.substr(0, text.size()) == text);
    if (characters(text) < limit) require(back == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    int cutShort = data[0] & 1;         // the first byte says whether the file goes on
    size_t limit = 1 + (data[0] >> 1);  // and how many characters the decoder may keep
    std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    checkUtf8(bytes, 0, limit);
    checkUtf8(bytes, 1, limit);
    checkUtf16(bytes, 0, limit);
    checkUtf16(bytes, 1, limit);

    PosixLyricsEnvironment environment;
    TextEncoding encoding;
    std::string text = lyricsFileText(bytes, cutShort, environment, encoding);
    require(encoding == detectEncoding(bytes, cutShort));
    require(isValidUtf8(text) && text.size() <= kMaxLyricsTextBytes);
    if (encoding == TextEncoding::kAnsi && isValidUtf8(bytes)) require(text == bytes.substr(0, kMaxLyricsBytes));
    LyricsDocument document;
    IgnoredWarnings warnings;
    parseLyrics(document, text.data(), text.size(), 1, warnings);
    for (const LyricsLine& line : document.lines) {
        require(isValidUtf8(line.text));
        for (const TimeMark& mark : line.marks)
            require(utf8CharacterStart(line.text, static_cast<size_t>(mark.offset)) ==
                    static_cast<size_t>(mark.offset));
    }
    return 0;
}
