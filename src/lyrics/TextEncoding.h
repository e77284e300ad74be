#pragma once
// The encodings lyrics files come in, and the decoder that turns a Unicode file into the UTF-8 the
// lyrics document holds. A file in the system's ANSI code page is converted by the lyrics
// environment, which knows that code page.
#include <cstdint>
#include <string>
#include <string_view>

enum class TextEncoding : int32_t {
    kAnsi,     // the system's ANSI code page
    kUtf8,     // valid UTF-8 holding non-ASCII bytes, without a byte-order mark
    kUtf8Bom,  // starts with the UTF-8 byte-order mark
    kUtf16Le,  // starts with the UTF-16 little-endian byte-order mark
    kUtf16Be,  // starts with the UTF-16 big-endian byte-order mark
};

// "utf-8", "utf-8-bom", "utf-16le", "utf-16be"; for ANSI "ansi-" and the code page ("ansi-932"),
// or "ansi" alone when the code page is not known (0: nothing was read).
std::string encodingName(TextEncoding encoding, uint32_t ansiCodePage);

// A byte-order mark decides; without one, bytes that are valid UTF-8 and hold a non-ASCII byte
// are UTF-8, and everything else is ANSI. cutShort says the bytes are only the start of a file,
// so that a character cut off at their end does not count against UTF-8.
TextEncoding detectEncoding(std::string_view bytes, int cutShort);

// The text after its byte-order mark as UTF-8, at most maxCharacters characters (code points).
// Every character survives, those beyond the Basic Multilingual Plane included; what cannot be
// decoded (a malformed UTF-8 sequence, a lone surrogate, the odd last byte of UTF-16) becomes
// U+FFFD, one for each unit. For a Unicode encoding only (ANSI gives the empty text).
std::string decodeUnicode(std::string_view bytes, TextEncoding encoding, size_t maxCharacters);
