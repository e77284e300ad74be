// Every text of the original syntax gives the same whole document as before the LRC forms were
// added: the expected dumps were recorded from the parser as it was. The same texts stored in any
// encoding, Shift-JIS included, load to the same documents.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lyrics/BesideSongSource.h"
#include "lyrics/DocumentDump.h"
#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "utils/Utf.h"

namespace {

struct Example {
    int32_t timeType;
    std::string text;
    const char* dump;
};

template <size_t N>
std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// The examples of the original syntax and what it made of them.
const Example kExamples[] = {
#define E(timeType, text, dump) \
    { timeType, bytes(text), dump }
    E(1, "[01:02:03]Hello",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"Hello\" 5 k0 "
      "0:6203 5:6503"),
    E(1, "[00:10:00]Ka[00:10:50]ra[00:11:00]o[00:11:20]ke",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"Karaoke\" 7 k1 "
      "0:1000 2:1050 4:1100 5:1120 7:1420"),
    E(1, "[00:12][01:30]Chorus\n[00:50]Verse",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"Chorus\" 6 k0 "
      "0:1200 6:9000 | \"Verse\" 5 k0 0:5000 5:5300 | \"Chorus\" 6 k0 0:9000 6:5000"),
    E(1, "[00:12][01:30][02:45]Chorus",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"Chorus\" 6 k1 "
      "0:1200 6:9000 | \"Chorus\" 6 k0 0:9000 6:16500 | \"Chorus\" 6 k0 0:16500 6:16800"),
    E(1, "[00:12]Hello[00:15]World",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"HelloWorld\" 10 "
      "k0 0:1200 10:1500 | \"HelloWorld\" 10 k0 0:1500 5:1500 10:1800"),
    E(1, "[00:12:00][00:13]Hello",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"Hello\" 5 k0 "
      "0:1200 0:1300 5:1600"),
    E(1, "[00:99]Late\n[00:00:x5]Odd",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"Odd\" 3 k0 "
      "0:725 3:1025 | \"Late\" 4 k0 0:9900 4:725"),
    E(1, "[00:01]open\n[00:02]\n[00:03:00]closed[00:04]\n[00:05]\n[00:06]last",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"open\" 4 k0 "
      "0:100 4:200 | \"closed\" 6 k0 0:300 6:400 | \"last\" 4 k0 0:600 4:900"),
    E(1, "[00:01][00:02]\n[00:03]a",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"a\" 1 k0 0:300 "
      "1:600"),
    E(1, "[00:01]ab\n[00:02][00:03]",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"ab\" 2 k0 0:100 "
      "2:200 0:300 2:600"),
    E(1, "@title=My Song\n@Title\tA\tB\n@TimeRatio 1.0\n[00:01]x",
      "r1 title=\"A\" artist=- album=- words=- music=- by=- ratio=1 frames=0 total=0 | \"x\" 1 k0 0:100 1:399"),
    E(1,
      "@title=My Song \n@ARTIST \t= The Band\n@Arbum\tAlbum\tignored\n@words\n@Music=A=B\n@KraBy tagger\n@Unknown "
      "x\n[00:01]a",
      "r1 title=\"My Song \" artist=\"The Band\" album=\"Album\" words=\"\" music=\"A=B\" by=\"tagger\" "
      "ratio=0.99531250000000004 frames=0 total=0 | \"a\" 1 k0 0:100 1:400"),
    E(1, "@TimeRatio 1.0\n@TotalSec=  -12abc\n@Flames 99999999999\n[00:10]a",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=1 frames=2147483647 total=-12 | \"a\" 1 k0 0:1000 "
      "1:1295"),
    E(1, "@Title first\n[00:01]a\n@TaggingBy x\n@Title second\n@KraBy y",
      "r1 title=\"second\" artist=- album=- words=- music=- by=\"y\" ratio=0.99531250000000004 frames=0 total=0 | "
      "\"a\" 1 k0 0:100 1:400"),
    E(1, "@Title [00:01]x",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"@Title x\" 8 k0 "
      "0:0 7:100 8:400"),
    E(1, "Hello\n[00:01]a",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"a\" 1 k0 0:100 "
      "1:400"),
    E(1, "@Title Only\nHello\n\n@Artist Me",
      "r0 title=\"Only\" artist=\"Me\" album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0"),
    E(1, "[00:10]One\n[00:15][01:15]Chorus\n[00:20]Three\n[01:10]Four",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"One\" 3 k0 "
      "0:1000 3:1500 | \"Chorus\" 6 k0 0:1500 6:7500 | \"Three\" 5 k0 0:2000 5:7000 | \"Four\" 4 k0 0:7000 4:7300 | "
      "\"Chorus\" 6 k0 0:7500 6:2000"),
    E(0, "[00:10]One\n[00:15][01:15]Chorus\n[00:20]Three\n[01:10]Four",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"One\" 3 k0 "
      "0:1000 3:1507 | \"Chorus\" 6 k0 0:1500 6:7535 | \"Three\" 5 k0 0:2000 5:7032 | \"Four\" 4 k0 0:7000 4:7332 | "
      "\"Chorus\" 6 k0 0:7500 6:2009"),
    E(0, "x[00:10]One\n[00:20]Two",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"xOne\" 4 k0 0:0 "
      "1:1000 4:2009 | \"Two\" 3 k0 0:2000 3:2309"),
    E(1, "[00:01]Good\n[00:02]Bad [00:03 tag [00:04:5]\n[00:05]Fine",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"Good\" 4 k0 "
      "0:100 4:200 | \"Bad [00:03 tag [00:04:5]\" 24 k1 0:200 24:500 | \"Fine\" 4 k0 0:500 4:800 | warn 2:11 | warn "
      "2:22"),
    E(1, "[00:01]a[00:12.3]b[00:12.3456]c[00:12.]d[00:12.x5]e",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | "
      "\"a[00:12.3]b[00:12.3456]c[00:12.]d[00:12.x5]e\" 44 k1 0:100 44:400 | warn 1:8 | warn 1:18 | warn 1:31 | warn "
      "1:40"),
    E(1, "[00:01]a[x]b[1:00]c[00:1x]d[00:",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | "
      "\"a[x]b[1:00]c[00:1x]d[00:\" 24 k1 0:100 24:400"),
    E(1, "[00:01]a[00:12\n]b\n[00:01:5\n0]",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"a[00:12\" 7 k0 "
      "0:100 7:400 | warn 1:8 | warn 3:0"),
    E(1, "a[00:01:]5]b[00:02]",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"a5]b\" 4 k0 0:0 "
      "1:555 2:200 4:500"),
    E(1, "[00:01]a\r\n[00:02]b\r[00:03]c\n[00:04]d\n\r[00:05]e\0[00:06]f\0\0[00:07]gone",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"a\" 1 k0 0:100 "
      "1:200 | \"b\" 1 k0 0:200 1:300 | \"c\" 1 k0 0:300 1:400 | \"d\" 1 k0 0:400 1:500 | \"e\" 1 k0 0:500 1:600 | "
      "\"f\" 1 k0 0:600 1:900"),
    E(1, "[00:01:]5]a[00:02]\n[00:03]\n[00:04][00:05]\n[99:99:\xff\xff]end",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"5]a\" 3 k0 "
      "0:555 1:200 3:300 | \"end\" 3 k0 0:606177 3:606477"),
    E(1, "[00:01]a<b>c<1:00>d<00:12>e<0:12.00>f<00:12.3>g",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | "
      "\"a<b>c<1:00>d<00:12>e<0:12.00>f<00:12.3>g\" 40 k0 0:100 40:400"),
    E(1, "ti:x\n[ti:[00:01]x\n[00:02]y[ar:z]",
      "r1 title=- artist=- album=- words=- music=- by=- ratio=0.99531250000000004 frames=0 total=0 | \"[ti:x\" 5 k0 "
      "0:0 4:100 5:200 | \"y[ar:z]\" 7 k0 0:200 7:500"),
    // In Shift-JIS the marks stood at bytes 0, 2, 4 and 6 of "夜明け", and "ソ" ended in a backslash.
    E(1,
      u8"@Title=夜明け\r\n@KraBy=ソ\r\n[00:01:00]夜[00:01:50]明[00:02:00]け[00:03:00]\r\n[00:04][00:30]Chorus \"la "
      u8"la\"\r\n",
      "r1 title=\"\\xe5\\xa4\\x9c\\xe6\\x98\\x8e\\xe3\\x81\\x91\" artist=- album=- words=- music=- "
      "by=\"\\xe3\\x82\\xbd\" ratio=0.99531250000000004 frames=0 total=0 | "
      "\"\\xe5\\xa4\\x9c\\xe6\\x98\\x8e\\xe3\\x81\\x91\" 9 k1 0:100 3:150 6:200 9:300 | \"Chorus \\x22la la\\x22\" 14 "
      "k0 0:400 14:3000 | \"Chorus \\x22la la\\x22\" 14 k0 0:3000 14:3300"),
#undef E
};

class Warnings : public LyricsWarnings {
public:
    void malformedTag(int32_t lineNumber, int32_t offset) override { seen.emplace_back(lineNumber, offset); }
    std::vector<std::pair<int32_t, int32_t>> seen;
};

}  // namespace

TEST(OriginalSyntax, EveryExampleGivesTheSameWholeDocumentAsBefore) {
    for (const Example& example : kExamples) {
        LyricsDocument document;
        Warnings warnings;
        int result = parseLyrics(document, example.text.data(), example.text.size(), example.timeType, warnings);
        EXPECT_EQ(dumpDocument(document, result, warnings.seen), example.dump) << example.text;
        EXPECT_EQ(document.offsetMs, 0);
    }
}

TEST(OriginalSyntax, TheExamplesLoadAsTheSameDocumentsFromFilesInEveryEncoding) {
    for (const Example& example : kExamples) {
        if (!isValidUtf8(example.text)) continue;  // bytes that no encoding of a text gives
        std::u16string units = utf8ToUtf16(example.text);
        for (const std::string& file : {FakeLyricsEnvironment::shiftJis(units), example.text,
                                        "\xEF\xBB\xBF" + example.text, utf16File(units, 0), utf16File(units, 1)}) {
            FakeLyricsEnvironment environment;
            environment.files = {{"C:\\a.lrc", file}};
            LyricsDocument document;
            int result = loadFromSource(BesideSongSource(), document, "C:\\a.mp3", example.timeType, environment);
            std::vector<std::pair<int32_t, int32_t>> warnings;
            for (const auto& [lineNumber, offset, first] : environment.warnings)
                warnings.emplace_back(lineNumber, offset);
            EXPECT_EQ(dumpDocument(document, result, warnings), example.dump) << dumpText(file.data(), file.size());
        }
    }
}
