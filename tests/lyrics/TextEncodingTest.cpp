// Telling the encodings of lyrics files apart, taking Unicode apart safely, and the converted text
// the loader hands to the parser.
#include "lyrics/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"

TEST(TextEncoding, ByteOrderMarkDecidesElseValidUtf8WithNonAsciiElseAnsi) {
    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF[00:01]a", 0), TextEncoding::kUtf8Bom);
    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF\xff", 0), TextEncoding::kUtf8Bom);  // whatever follows
    EXPECT_EQ(detectEncoding("\xFF\xFE[\0", 0), TextEncoding::kUtf16Le);
    EXPECT_EQ(detectEncoding("\xFE\xFF\0[", 0), TextEncoding::kUtf16Be);
    EXPECT_EQ(detectEncoding(std::string(u8"[00:01]さくら"), 0), TextEncoding::kUtf8);
    EXPECT_EQ(detectEncoding("[00:01]plain", 0), TextEncoding::kAnsi);
    EXPECT_EQ(detectEncoding("", 0), TextEncoding::kAnsi);
    // Shift-JIS "夜明け", and UTF-8 that is overlong, a surrogate, past U+10FFFF or cut short.
    for (const char* ansi : {"[00:01]\x96\xe9\x96\xbe\x82\xaf", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                             "\xE3\x81"})
        EXPECT_EQ(detectEncoding(ansi, 0), TextEncoding::kAnsi) << ansi;
    // A file read only in part may end inside a character.
    EXPECT_EQ(detectEncoding("\xE3\x81\x82\xE3\x81", 1), TextEncoding::kUtf8);
    EXPECT_EQ(detectEncoding("\xE3\x41\x82", 1), TextEncoding::kAnsi);
}

TEST(TextEncoding, DecodingReplacesWhatNoAnsiCodePageHolds) {
    EXPECT_EQ(decodeUnicode(std::string(u8"aさ😀\u00e9"), TextEncoding::kUtf8, 100), u"aさ\uFFFD\u00e9");
    EXPECT_EQ(decodeUnicode("\xEF\xBB\xBF" "a\xFF" "b\xE3\x81", TextEncoding::kUtf8Bom, 100), u"a\uFFFDb\uFFFD\uFFFD");
    // Little- and big-endian: a pair beyond the plane, a lone surrogate, an odd last byte.
    std::string le("\xFF\xFE" "a\0" "\x3D\xD8\x00\xDE" "\x00\xDC" "\x55\x30" "x", 13);
    EXPECT_EQ(decodeUnicode(le, TextEncoding::kUtf16Le, 100), u"a\uFFFD\uFFFD\u3055");
    std::string be("\xFE\xFF" "\0a" "\xD8\x3D" "\x30\x55", 8);
    EXPECT_EQ(decodeUnicode(be, TextEncoding::kUtf16Be, 100), u"a\uFFFD\u3055");
    EXPECT_EQ(decodeUnicode(std::string(u8"さくら"), TextEncoding::kUtf8, 2), u"さく");
}

TEST(LyricsFileText, AnsiIsTakenAsItIsAndUnicodeIsConverted) {
    FakeLyricsEnvironment environment;
    std::string text;
    TextEncoding encoding;
    ASSERT_EQ(lyricsFileText("[00:01]\x96\xe9", 0, environment, text, encoding), 1);
    EXPECT_EQ(text, "[00:01]\x96\xe9");
    EXPECT_EQ(environment.conversions, 0);

    ASSERT_EQ(lyricsFileText(std::string(u8"\uFEFF[00:01]夜明け한"), 0, environment, text, encoding), 1);
    EXPECT_EQ(encoding, TextEncoding::kUtf8Bom);
    EXPECT_EQ(text, "[00:01]\x96\xe9\x96\xbe\x82\xaf?");

    environment.convertible = 0;
    EXPECT_EQ(lyricsFileText(std::string(u8"[00:01]夜"), 0, environment, text, encoding), 0);
}

TEST(LyricsFileText, ConvertedTextIsCutBetweenCharactersAtTheLimit) {
    FakeLyricsEnvironment environment;
    std::string text;
    TextEncoding encoding;
    // "a" then kana: every kana is two bytes, so the limit falls inside the last one.
    std::string kana = "a";
    while (kana.size() < kMaxLyricsBytes * 2) kana += std::string(u8"さ");
    ASSERT_EQ(lyricsFileText(kana, 0, environment, text, encoding), 1);
    EXPECT_EQ(text.size(), kMaxLyricsBytes - 1);
    EXPECT_EQ(text.substr(text.size() - 2), "\x82\xb3");

    std::string ascii = "\xEF\xBB\xBF" + std::string(kMaxLyricsBytes + 10, 'x');
    ASSERT_EQ(lyricsFileText(ascii, 0, environment, text, encoding), 1);
    EXPECT_EQ(text.size(), kMaxLyricsBytes);

    ASSERT_EQ(lyricsFileText(std::string(kMaxLyricsBytes + 10, 'x'), 0, environment, text, encoding), 1);
    EXPECT_EQ(text.size(), kMaxLyricsBytes);  // as ever
}

TEST(LyricsFileText, LongUnicodeFilesAreReadFarEnoughToFillTheLimit) {
    std::string utf16 = "\xFF\xFE";
    for (char c : "[00:01]" + std::string(kMaxLyricsBytes, 'x')) utf16 += std::string{c, '\0'};
    // Past the read limit, which ends inside a character.
    std::string kana = "[00:01]";
    while (kana.size() < kMaxLyricsFileBytes + 100) kana += std::string(u8"さ");
    FakeLyricsEnvironment environment;
    environment.files = {{"C:\\a.lrc", utf16}, {"C:\\b.lrc", kana}};
    LyricsDocument document;
    ASSERT_EQ(loadLyrics(document, "C:\\a.mp3", 1, environment), 1);
    EXPECT_EQ(document.lines[0].length, static_cast<int32_t>(kMaxLyricsBytes) - 7);
    ASSERT_EQ(loadLyrics(document, "C:\\b.mp3", 1, environment), 1);
    EXPECT_EQ(document.encoding, TextEncoding::kUtf8);
    EXPECT_EQ(document.lines[0].length, static_cast<int32_t>(kMaxLyricsBytes) - 8);  // no half character
}
