#include "lyrics/TextEncoding.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

int startsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

unsigned char byteAt(std::string_view bytes, size_t i) { return static_cast<unsigned char>(bytes[i]); }

int isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The UTF-8 character at i: its code point and byte length. A malformed or overlong sequence,
// a surrogate or a value past U+10FFFF gives length 0. *cut is set when the bytes end inside
// what began as a well-formed character.
uint32_t utf8Character(std::string_view bytes, size_t i, size_t& length, int* cut) {
    unsigned char lead = byteAt(bytes, i);
    length = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    if (lead < 0xC2 || lead > 0xF4) return 0;
    size_t count = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    uint32_t value = lead & (0x7F >> count);
    static const uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};  // smaller values are overlong
    for (size_t k = 1; k < count; ++k) {
        if (i + k >= bytes.size()) {
            if (cut) *cut = 1;
            return 0;
        }
        if (!isContinuation(byteAt(bytes, i + k))) return 0;
        value = value << 6 | (byteAt(bytes, i + k) & 0x3F);
    }
    if (value < kLeast[count] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    length = count;
    return value;
}

char16_t basicPlaneUnit(uint32_t value) { return value <= 0xFFFF ? static_cast<char16_t>(value) : kReplacement; }

void decodeUtf8(std::string_view bytes, size_t maxUnits, std::u16string& units) {
    for (size_t i = 0; i < bytes.size() && units.size() < maxUnits;) {
        size_t length;
        uint32_t value = utf8Character(bytes, i, length, nullptr);
        units += length ? basicPlaneUnit(value) : kReplacement;
        i += length ? length : 1;
    }
}

void decodeUtf16(std::string_view bytes, int bigEndian, size_t maxUnits, std::u16string& units) {
    auto unitAt = [&](size_t i) {
        unsigned high = byteAt(bytes, bigEndian ? i : i + 1), low = byteAt(bytes, bigEndian ? i + 1 : i);
        return static_cast<char16_t>(high << 8 | low);
    };
    // An odd last byte is half a unit: dropped.
    for (size_t i = 0; i + 1 < bytes.size() && units.size() < maxUnits;) {
        char16_t unit = unitAt(i);
        i += 2;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < bytes.size() && unitAt(i) >= 0xDC00 && unitAt(i) <= 0xDFFF) {
            i += 2;  // a pair: a character beyond the plane
            unit = kReplacement;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            unit = kReplacement;
        }
        units += unit;
    }
}

}  // namespace

const char* encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::kUtf8: return "utf-8";
    case TextEncoding::kUtf8Bom: return "utf-8-bom";
    case TextEncoding::kUtf16Le: return "utf-16le";
    case TextEncoding::kUtf16Be: return "utf-16be";
    default: return "ansi";
    }
}

TextEncoding detectEncoding(std::string_view bytes, int cutShort) {
    if (startsWith(bytes, "\xEF\xBB\xBF")) return TextEncoding::kUtf8Bom;
    if (startsWith(bytes, "\xFF\xFE")) return TextEncoding::kUtf16Le;
    if (startsWith(bytes, "\xFE\xFF")) return TextEncoding::kUtf16Be;
    int nonAscii = 0;
    for (size_t i = 0; i < bytes.size();) {
        if (byteAt(bytes, i) < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        int cut = 0;
        utf8Character(bytes, i, length, &cut);
        if (!length) return cut && cutShort ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
        nonAscii = 1;
        i += length;
    }
    return nonAscii ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
}

std::u16string decodeUnicode(std::string_view bytes, TextEncoding encoding, size_t maxUnits) {
    std::u16string units;
    switch (encoding) {
    case TextEncoding::kUtf8: decodeUtf8(bytes, maxUnits, units); break;
    case TextEncoding::kUtf8Bom: decodeUtf8(bytes.substr(3), maxUnits, units); break;
    case TextEncoding::kUtf16Le: decodeUtf16(bytes.substr(2), 0, maxUnits, units); break;
    case TextEncoding::kUtf16Be: decodeUtf16(bytes.substr(2), 1, maxUnits, units); break;
    default: break;
    }
    return units;
}
