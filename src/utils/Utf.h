#pragma once
// UTF-8 and UTF-16, the two forms every text of the plug-in takes: UTF-8 inside (lyrics, settings,
// paths), UTF-16 at the platform's wide calls. Platform-free. Whatever cannot be decoded (a
// malformed or overlong UTF-8 sequence, a surrogate written in UTF-8, a lone surrogate in UTF-16)
// becomes U+FFFD, one for each unit that cannot start a character; nothing is read past the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character that starts at byte i (i < text.size()): its code point, and in `length` how many
// bytes it takes. An undecodable byte gives U+FFFD with length 1. `cut` (when given) is set to 1
// when the text ends inside what began as a well-formed character.
char32_t decodeUtf8(std::string_view text, size_t i, size_t& length, int* cut = nullptr);

// Whether the bytes are well-formed UTF-8 throughout.
bool isValidUtf8(std::string_view text);

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);
void appendUtf8(std::string& out, char32_t codePoint);

// The start of the character that byte offset lies in (the offset itself when it is a boundary;
// text.size() when it is at or past the end).
size_t utf8CharacterStart(std::string_view text, size_t offset);
// The longest prefix of at most `limit` bytes that ends between two characters.
size_t utf8PrefixWithin(std::string_view text, size_t limit);

// How many UTF-16 units the UTF-8 text before `offset` takes (an offset inside a character
// counts from that character's start; one past the end counts the whole text).
size_t utf16UnitsBefore(std::string_view text, size_t offset);
// How many characters (code points; each undecodable byte counts as one) precede `offset`.
size_t codePointsBefore(std::string_view text, size_t offset);
