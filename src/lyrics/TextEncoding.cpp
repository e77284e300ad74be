#include "lyrics/TextEncoding.h"

#include <algorithm>

#include "utils/Utf.h"

namespace {

int startsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

unsigned char byteAt(std::string_view bytes, size_t i) { return static_cast<unsigned char>(bytes[i]); }

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void decodeUtf8Text(std::string_view bytes, size_t maxCharacters, std::string& text) {
    for (size_t i = 0, count = 0; i < bytes.size() && count < maxCharacters; ++count) {
        size_t length;
        appendUtf8(text, decodeUtf8(bytes, i, length));
        i += length;
    }
}

void decodeUtf16Text(std::string_view bytes, int bigEndian, size_t maxCharacters, std::string& text) {
    auto unitAt = [&](size_t i) -> char32_t {
        unsigned high = byteAt(bytes, bigEndian ? i : i + 1), low = byteAt(bytes, bigEndian ? i + 1 : i);
        return high << 8 | low;
    };
    size_t i = 0, count = 0;
    for (; i + 1 < bytes.size() && count < maxCharacters; ++count) {
        char32_t unit = unitAt(i);
        i += 2;
        if (isHighSurrogate(unit) && i + 1 < bytes.size() && isLowSurrogate(unitAt(i))) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i) - 0xDC00);
            i += 2;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            unit = kReplacementCharacter;
        }
        appendUtf8(text, unit);
    }
    // Half a unit at the end of the file.
    if (i < bytes.size() && count < maxCharacters) appendUtf8(text, kReplacementCharacter);
}

}  // namespace

std::string encodingName(TextEncoding encoding, uint32_t ansiCodePage) {
    switch (encoding) {
    case TextEncoding::kUtf8: return "utf-8";
    case TextEncoding::kUtf8Bom: return "utf-8-bom";
    case TextEncoding::kUtf16Le: return "utf-16le";
    case TextEncoding::kUtf16Be: return "utf-16be";
    default: return ansiCodePage ? "ansi-" + std::to_string(ansiCodePage) : "ansi";
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
        // An undecodable byte decodes as U+FFFD of one byte; a U+FFFD really written takes three.
        if (decodeUtf8(bytes, i, length, &cut) == kReplacementCharacter && length == 1)
            return cut && cutShort ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
        nonAscii = 1;
        i += length;
    }
    return nonAscii ? TextEncoding::kUtf8 : TextEncoding::kAnsi;
}

std::string decodeUnicode(std::string_view bytes, TextEncoding encoding, size_t maxCharacters) {
    auto after = [&](size_t mark) { return bytes.substr(std::min(mark, bytes.size())); };
    std::string text;
    text.reserve(std::min(bytes.size() * 3 / 2, maxCharacters * 4));
    switch (encoding) {
    case TextEncoding::kUtf8: decodeUtf8Text(bytes, maxCharacters, text); break;
    case TextEncoding::kUtf8Bom: decodeUtf8Text(after(3), maxCharacters, text); break;
    case TextEncoding::kUtf16Le: decodeUtf16Text(after(2), 0, maxCharacters, text); break;
    case TextEncoding::kUtf16Be: decodeUtf16Text(after(2), 1, maxCharacters, text); break;
    default: break;
    }
    return text;
}
