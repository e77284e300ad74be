#pragma once
// The encodings lyrics files come in. The parser reads ANSI bytes; a Unicode file is taken apart
// here, platform-free, into UTF-16 that the lyrics environment turns into the ANSI code page.
#include <cstdint>
#include <string>
#include <string_view>

enum class TextEncoding : int32_t {
    kAnsi,     // the system's ANSI code page, read as it is
    kUtf8,     // valid UTF-8 holding non-ASCII bytes, without a byte-order mark
    kUtf8Bom,  // starts with the UTF-8 byte-order mark
    kUtf16Le,  // starts with the UTF-16 little-endian byte-order mark
    kUtf16Be,  // starts with the UTF-16 big-endian byte-order mark
};

// "ansi", "utf-8", "utf-8-bom", "utf-16le", "utf-16be".
const char* encodingName(TextEncoding encoding);

// A byte-order mark decides; without one, bytes that are valid UTF-8 and hold a non-ASCII byte
// are UTF-8, and everything else is ANSI. cutShort says the bytes are only the start of a file,
// so that a character cut off at their end does not count against UTF-8.
TextEncoding detectEncoding(std::string_view bytes, int cutShort);

// The text after its byte-order mark as UTF-16 code units of the Basic Multilingual Plane, at
// most maxUnits of them. A malformed sequence, a lone surrogate and a character beyond the plane
// (no ANSI code page has one) each become U+FFFD. For a Unicode encoding only.
std::u16string decodeUnicode(std::string_view bytes, TextEncoding encoding, size_t maxUnits);
