#include "utils/Utf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#ifndef _WIN32
#include <iconv.h>

namespace {

// The C library's converter: an implementation independent of ours.
std::string iconvConvert(const char* to, const char* from, const std::string& input) {
    iconv_t converter = iconv_open(to, from);
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
    std::string out(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* o = out.data();
    size_t outLeft = out.size();
    EXPECT_NE(iconv(converter, &in, &inLeft, &o, &outLeft), static_cast<size_t>(-1));
    iconv_close(converter);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

TEST(Utf, EveryCharacterConvertsAsTheCLibraryConvertsIt) {
    std::string utf32;  // every Unicode scalar value, little-endian
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        for (int k = 0; k < 4; ++k) utf32 += static_cast<char>(c >> (8 * k) & 0xFF);
    }
    std::string utf8 = iconvConvert("UTF-8", "UTF-32LE", utf32);
    std::string utf16 = iconvConvert("UTF-16LE", "UTF-32LE", utf32);
    std::u16string ours = utf8ToUtf16(utf8);
    ASSERT_EQ(ours.size() * 2, utf16.size());
    EXPECT_EQ(0, std::memcmp(ours.data(), utf16.data(), utf16.size()));  // little-endian host
    EXPECT_EQ(utf16ToUtf8(ours), utf8);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf16UnitsBefore(utf8, utf8.size()), ours.size());
    EXPECT_EQ(codePointsBefore(utf8, utf8.size()), utf32.size() / 4);
}
#endif

TEST(Utf, UndecodableUnitsBecomeOneReplacementEach) {
    const std::u16string r(1, u'\xFFFD');
    struct Case {
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {"a\x80z", u"a" + r + u"z"},                         // stray continuation byte
        {"\xC0\xAF", r + r},                                 // overlong "/"
        {"\xED\xA0\x80", r + r + r},                         // a surrogate written in UTF-8
        {"\xF4\x90\x80\x80", r + r + r + r},                 // past U+10FFFF
        {"\xE3\x81", r + r},                                 // cut inside a character
        {"\xEF\xBF\xBD", r},                                 // a real U+FFFD stays one
        {std::string("\0x", 2), std::u16string(u"\0x", 2)},  // NUL is a character
    };
    for (const Case& c : cases) EXPECT_EQ(utf8ToUtf16(c.bytes), c.units) << c.bytes;
    EXPECT_FALSE(isValidUtf8("\xE3\x81"));
    EXPECT_TRUE(isValidUtf8("\xEF\xBF\xBD"));
    // Lone surrogates in UTF-16, at either end and in the middle.
    EXPECT_EQ(utf16ToUtf8(u"\xD800x\xDC00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xD83D')), "\xEF\xBF\xBD");
}

// Offsets into UTF-8 mapped to UTF-16 and to characters, checked against converting the prefix.
TEST(Utf, OffsetsMapToTheCharacterThatHoldsThem) {
    const std::string text = "a\xC3\xA9\xE6\xAD\x8C\xF0\x9F\x8E\xA4\x80z\xE3\x81";  // a é 歌 🎤 stray z cut
    std::vector<size_t> starts;
    for (size_t i = 0; i <= text.size(); ++i) {
        size_t start = utf8CharacterStart(text, i);
        ASSERT_LE(start, i);
        std::string prefix = text.substr(0, start);
        EXPECT_EQ(utf16UnitsBefore(text, i), utf8ToUtf16(prefix).size()) << i;
        EXPECT_EQ(utf8ToUtf16(text).substr(0, utf8ToUtf16(prefix).size()), utf8ToUtf16(prefix)) << i;
        EXPECT_EQ(utf8PrefixWithin(text, i), start);
        if (start == i) starts.push_back(i);
    }
    EXPECT_EQ(starts, (std::vector<size_t>{0, 1, 3, 6, 10, 11, 12, 13, 14}));
    EXPECT_EQ(codePointsBefore(text, 10), 4u);
}
