// Telling the encodings of lyrics files apart, decoding Unicode safely into UTF-8, and the text the
// loader hands to the parser.
#include "lyrics/TextEncoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "lyrics/BesideSongSource.h"
#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"
#include "utils/Utf.h"

namespace {

const std::string kFffd = "\xEF\xBF\xBD";

}  // namespace

TEST(TextEncoding, ByteOrderMarkDecidesElseValidUtf8WithNonAsciiElseAnsi) {
    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF[00:01]a", 0), TextEncoding::kUtf8Bom);
    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF\xff", 0), TextEncoding::kUtf8Bom);  // whatever follows
    EXPECT_EQ(detectEncoding("\xFF\xFE[\0", 0), TextEncoding::kUtf16Le);
    EXPECT_EQ(detectEncoding("\xFE\xFF\0[", 0), TextEncoding::kUtf16Be);
    EXPECT_EQ(detectEncoding(std::string(u8"[00:01]さくら"), 0), TextEncoding::kUtf8);
    EXPECT_EQ(detectEncoding("[00:01]plain", 0), TextEncoding::kAnsi);
    EXPECT_EQ(detectEncoding("", 0), TextEncoding::kAnsi);
    // Shift-JIS "夜明け", and UTF-8 that is overlong, a surrogate, past U+10FFFF or cut short.
    for (const char* ansi :
         {"[00:01]\x96\xe9\x96\xbe\x82\xaf", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x81"})
        EXPECT_EQ(detectEncoding(ansi, 0), TextEncoding::kAnsi) << ansi;
    // A file read only in part may end inside a character.
    EXPECT_EQ(detectEncoding("\xE3\x81\x82\xE3\x81", 1), TextEncoding::kUtf8);
    EXPECT_EQ(detectEncoding("\xE3\x41\x82", 1), TextEncoding::kAnsi);
}

TEST(TextEncoding, EveryCharacterSurvivesAndEachUndecodableUnitBecomesOneReplacement) {
    std::string every = u8"aさ한é😀";
    EXPECT_EQ(decodeUnicode(every, TextEncoding::kUtf8, 100), every);
    EXPECT_EQ(decodeUnicode("\xEF\xBB\xBF" + every, TextEncoding::kUtf8Bom, 100), every);
    EXPECT_EQ(decodeUnicode(utf16File(u"aさ한é😀", 0), TextEncoding::kUtf16Le, 100), every);
    EXPECT_EQ(decodeUnicode(utf16File(u"aさ한é😀", 1), TextEncoding::kUtf16Be, 100), every);
    // A stray byte and a character cut off by the end of a file with a mark.
    EXPECT_EQ(decodeUnicode("\xEF\xBB\xBF"
                            "a\xFF"
                            "b\xE3\x81",
                            TextEncoding::kUtf8Bom, 100),
              "a" + kFffd + "b" + kFffd + kFffd);
    // Lone surrogates at either end and in the middle, and half a unit at the end.
    std::u16string lone =
        u"\xDC00"
        u"a"
        u"\xD800"
        u"b"
        u"\xD83D";
    std::string expected = kFffd + "a" + kFffd + "b" + kFffd;
    EXPECT_EQ(decodeUnicode(utf16File(lone, 0), TextEncoding::kUtf16Le, 100), expected);
    EXPECT_EQ(decodeUnicode(utf16File(lone, 1), TextEncoding::kUtf16Be, 100), expected);
    EXPECT_EQ(decodeUnicode(utf16File(u"a", 0) + "x", TextEncoding::kUtf16Le, 100), "a" + kFffd);
    // A byte-order mark with nothing after it.
    EXPECT_EQ(decodeUnicode("\xEF\xBB\xBF", TextEncoding::kUtf8Bom, 100), "");
    EXPECT_EQ(decodeUnicode("\xFF\xFE", TextEncoding::kUtf16Le, 100), "");
    EXPECT_EQ(decodeUnicode("\xFE\xFF\x30", TextEncoding::kUtf16Be, 100), kFffd);
    // The limit counts characters, whatever their size.
    EXPECT_EQ(decodeUnicode(utf16File(u"😀😀😀", 0), TextEncoding::kUtf16Le, 2), u8"😀😀");
    EXPECT_EQ(decodeUnicode(u8"さくら", TextEncoding::kUtf8, 2), u8"さく");
}

TEST(LyricsFileText, AnsiIsConvertedByTheEnvironmentAndUnicodeDecoded) {
    FakeLyricsEnvironment environment;
    TextEncoding encoding;
    EXPECT_EQ(lyricsFileText("[00:01]\x96\xe9\x96\xbe\x82\xaf", 0, environment, encoding), u8"[00:01]夜明け");
    EXPECT_EQ(encoding, TextEncoding::kAnsi);
    EXPECT_EQ(environment.conversions, 1);
    EXPECT_EQ(lyricsFileText(u8"\uFEFF[00:01]夜明け한😀", 0, environment, encoding), u8"[00:01]夜明け한😀");
    EXPECT_EQ(encoding, TextEncoding::kUtf8Bom);
    EXPECT_EQ(environment.conversions, 1);
}

TEST(LyricsFileText, AFullShiftJisFileIsNeverCutByItsConversion) {
    // 50000 bytes of two-byte characters grow to 75000 bytes of UTF-8, every one of them kept.
    // Each line is sung a second after the one before (at its very time it would be a translation).
    auto lineAt = [](int second) {
        char tag[16];
        std::snprintf(tag, sizeof tag, "[%02d:%02d]", second / 60, second % 60);
        return FakeLyricsEnvironment::shiftJis(std::u16string(tag, tag + 7) + u"さくら さくら\r\n");
    };
    const std::string line = lineAt(0);
    std::string file;
    for (int second = 0; file.size() + line.size() <= kMaxLyricsBytes; ++second) file += lineAt(second);
    file += std::string(kMaxLyricsBytes - file.size(), ' ');
    FakeLyricsEnvironment environment;
    environment.files = {{"C:\\a.lrc", file + "[00:09]beyond the limit"}};
    LyricsDocument document;
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, "C:\\a.mp3", 1, environment), 1);
    EXPECT_EQ(document.lineCount(), static_cast<int32_t>(file.size() / line.size()));
    EXPECT_EQ(document.lines.back().text, u8"さくら さくら");
    EXPECT_EQ(document.lines.back().length, 19);
}

TEST(LyricsFileText, UnicodeFilesAreReadAsFarAsTheirCharactersReachTheLimit) {
    // ASCII in UTF-16 takes two bytes a character: the text still holds the limit's characters.
    std::string ascii = utf16File(u"[00:01]" + std::u16string(kMaxLyricsCharacters, u'x'), 0);
    // Four bytes a character, past the read limit: cut after whole characters only.
    std::string emoji = "[00:01]";
    while (emoji.size() < kMaxLyricsFileBytes + 100) emoji += u8"😀";
    FakeLyricsEnvironment environment;
    environment.files = {{"C:\\a.lrc", ascii}, {"C:\\b.lrc", emoji}};
    LyricsDocument document;
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, "C:\\a.mp3", 1, environment), 1);
    EXPECT_EQ(document.lines[0].length, static_cast<int32_t>(kMaxLyricsCharacters) - 7);
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, "C:\\b.mp3", 1, environment), 1);
    EXPECT_EQ(document.encoding, TextEncoding::kUtf8);
    const std::string& text = document.lines[0].text;
    EXPECT_TRUE(isValidUtf8(text));
    EXPECT_EQ(codePointsBefore(text, text.size()), kMaxLyricsCharacters - 7);
}
