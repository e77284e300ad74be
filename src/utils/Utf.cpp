#include "utils/Utf.h"

namespace {

unsigned char byteAt(std::string_view text, size_t i) { return static_cast<unsigned char>(text[i]); }

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

size_t utf16Length(char32_t codePoint) { return codePoint > 0xFFFF ? 2 : 1; }

}  // namespace

char32_t decodeUtf8(std::string_view text, size_t i, size_t& length, int* cut) {
    unsigned char lead = byteAt(text, i);
    length = 1;
    if (lead < 0x80) return lead;
    if (lead < 0xC2 || lead > 0xF4) return kReplacementCharacter;
    size_t count = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t value = lead & (0x7F >> count);
    static const char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};  // smaller values are overlong
    for (size_t k = 1; k < count; ++k) {
        if (i + k >= text.size()) {
            if (cut) *cut = 1;
            return kReplacementCharacter;
        }
        if (!isContinuation(byteAt(text, i + k))) return kReplacementCharacter;
        value = value << 6 | (byteAt(text, i + k) & 0x3F);
    }
    if (value < kLeast[count] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacementCharacter;
    length = count;
    return value;
}

bool isValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        size_t length;
        char32_t c = decodeUtf8(text, i, length);
        // A replacement character that is really written there takes three bytes.
        if (c == kReplacementCharacter && length == 1) return false;
        i += length;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t length;
        char32_t c = decodeUtf8(text, i, length);
        if (c > 0xFFFF) {
            c -= 0x10000;
            units += static_cast<char16_t>(0xD800 + (c >> 10));
            units += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            units += static_cast<char16_t>(c);
        }
        i += length;
    }
    return units;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, kReplacementCharacter);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

size_t utf8CharacterStart(std::string_view text, size_t offset) {
    if (offset >= text.size()) return text.size();
    // Continuation bytes belong to the character before them only when it really reaches them.
    size_t start = offset;
    while (start > 0 && offset - start < 3 && isContinuation(byteAt(text, start))) --start;
    size_t length;
    decodeUtf8(text, start, length);
    return start + length > offset ? start : offset;
}

size_t utf8PrefixWithin(std::string_view text, size_t limit) {
    if (limit >= text.size()) return text.size();
    return utf8CharacterStart(text, limit);
}

size_t utf16UnitsBefore(std::string_view text, size_t offset) {
    size_t units = 0;
    for (size_t i = 0; i < text.size() && i < offset;) {
        size_t length;
        char32_t c = decodeUtf8(text, i, length);
        if (i + length > offset) break;
        units += utf16Length(c);
        i += length;
    }
    return units;
}

size_t codePointsBefore(std::string_view text, size_t offset) {
    size_t count = 0;
    for (size_t i = 0; i < text.size() && i < offset;) {
        size_t length;
        decodeUtf8(text, i, length);
        if (i + length > offset) break;
        ++count;
        i += length;
    }
    return count;
}
