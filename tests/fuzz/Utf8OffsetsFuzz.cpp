// The mapping of UTF-8 offsets to characters and UTF-16 units over any bytes, against the
// characters as decoding the text from its start finds them: the renderer measures a line's wipe
// up to a mark by these, and cuts scrolled and banner texts by them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzChecks.h"
#include "utils/Utf.h"

namespace {

// Every offset is checked against every function, each of which walks the text: kept short.
constexpr size_t kMaxText = 512;

void checkUtf8Offsets(std::string_view text) {
    // Where the characters start, walking from the beginning, with the UTF-16 units and the
    // characters before each.
    std::vector<size_t> starts, unitsBefore, charactersBefore;
    std::u16string wide;
    for (size_t i = 0; i < text.size();) {
        starts.push_back(i);
        unitsBefore.push_back(wide.size());
        charactersBefore.push_back(starts.size() - 1);
        size_t length;
        char32_t c = decodeUtf8(text, i, length);
        require(length >= 1 && length <= 4 && i + length <= text.size());
        wide += utf8ToUtf16(text.substr(i, length));
        require(wide.size() - unitsBefore.back() == (c > 0xFFFF ? 2u : 1u));
        i += length;
    }
    require(wide == utf8ToUtf16(text));
    require(isValidUtf8(text) == (utf16ToUtf8(wide) == text));

    size_t k = 0;  // the character that offset lies in
    for (size_t offset = 0; offset <= text.size(); ++offset) {
        while (k + 1 < starts.size() && starts[k + 1] <= offset) ++k;
        bool atEnd = offset == text.size();
        size_t start = atEnd ? text.size() : starts[k];
        require(utf8CharacterStart(text, offset) == start);
        require(utf8PrefixWithin(text, offset) == start);
        size_t units = atEnd ? wide.size() : unitsBefore[k];
        size_t characters = atEnd ? starts.size() : charactersBefore[k];
        require(utf16UnitsBefore(text, offset) == units);
        require(codePointsBefore(text, offset) == characters);
    }
    require(utf8CharacterStart(text, text.size() + 7) == text.size());
    require(utf16UnitsBefore(text, text.size() + 7) == wide.size());
}

void checkUtf16(const std::u16string& units) {
    std::string utf8 = utf16ToUtf8(units);
    require(isValidUtf8(utf8));
    std::u16string back = utf8ToUtf16(utf8);
    require(back.size() == units.size());  // each lone surrogate becomes one U+FFFD, nothing else changes
    for (size_t i = 0; i < units.size(); ++i) {
        require(back[i] == units[i] || back[i] == kReplacementCharacter);
        bool lowSurrogate = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
        bool afterHigh = i > 0 && units[i - 1] >= 0xD800 && units[i - 1] <= 0xDBFF;
        if (lowSurrogate && i > 0 && !afterHigh) require(back[i] == kReplacementCharacter);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size < kMaxText ? size : kMaxText);
    checkUtf8Offsets(bytes);
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units +=
            static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    checkUtf16(units);
    return 0;
}
