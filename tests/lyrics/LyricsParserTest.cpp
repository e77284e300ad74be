#include "lyrics/LyricsParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "lyrics/LyricsDocument.h"

using namespace std::string_literals;

namespace {

class RecordedWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t lineNumber, int32_t offset) override { seen.emplace_back(lineNumber, offset); }
    std::vector<std::pair<int32_t, int32_t>> seen;
};

struct Parsed {
    LyricsDocument document;
    RecordedWarnings warnings;
    int result = 0;
};

// Parses with the default ratios and player time, where stored and display times agree.
void parse(Parsed& parsed, const std::string& text, int32_t timeType = 1) {
    parsed.result = parseLyrics(parsed.document, text.data(), text.size(), timeType, parsed.warnings);
}

std::vector<std::pair<int32_t, int32_t>> marksOf(const LyricsLine& line) {
    std::vector<std::pair<int32_t, int32_t>> marks;
    for (const TimeMark& m : line.marks) marks.emplace_back(m.offset, m.time);
    return marks;
}

using Marks = std::vector<std::pair<int32_t, int32_t>>;

std::vector<std::string> textsOf(const LyricsDocument& document) {
    std::vector<std::string> texts;
    for (const LyricsLine& line : document.lines) texts.push_back(line.text);
    return texts;
}

}  // namespace

// Tag forms and values

TEST(LyricsParserTags, LongAndShortTagsGiveHundredths) {
    Parsed p;
    parse(p, "[01:02:03]Hello\n[00:99]Late\n[00:00:x5]Odd\n");
    ASSERT_EQ(p.result, 1);
    ASSERT_EQ(p.document.lineCount(), 3);
    // Ordered by time: Odd (('x' - '0') * 10 + 5 = 725), Hello (6203), Late (9900).
    EXPECT_EQ(textsOf(p.document), (std::vector<std::string>{"Odd", "Hello", "Late"}));
    EXPECT_EQ(p.document.lines[0].marks[0].time, 725);
    EXPECT_EQ(marksOf(p.document.lines[1]), (Marks{{0, 6203}, {5, 9900}}));
    EXPECT_EQ(p.document.lines[2].marks[0].time, 9900);
    EXPECT_TRUE(p.warnings.seen.empty());
}

TEST(LyricsParserTags, MalformedTagStaysTextAndIsReportedOncePerTag) {
    Parsed p;
    parse(p, "[00:12,34]Hello");
    EXPECT_EQ(p.result, 0);  // the first display line has no marks: the whole text is unusable
    EXPECT_EQ(p.document.lineCount(), 0);
    EXPECT_EQ(p.warnings.seen, (std::vector<std::pair<int32_t, int32_t>>{{1, 0}}));

    Parsed q;
    parse(q, "[00:01]Good\n[00:02]Bad [00:03 tag [00:04:5]\n[00:05]Fine");
    ASSERT_EQ(q.result, 1);
    EXPECT_EQ(q.document.lines[1].text, "Bad [00:03 tag [00:04:5]");
    EXPECT_EQ(q.warnings.seen, (std::vector<std::pair<int32_t, int32_t>>{{2, 11}, {2, 22}}));
}

TEST(LyricsParserTags, BracketsThatAreNotTagsStaySilently) {
    Parsed p;
    parse(p, "[00:01]a[x]b[1:00]c[00:1x]d[00:");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(p.document.lines[0].text, "a[x]b[1:00]c[00:1x]d[00:");
    EXPECT_TRUE(p.warnings.seen.empty());
}

TEST(LyricsParserTags, TagAtTheEndOfALineNeverReadsIntoTheNextLine) {
    Parsed p;
    // "[00:12" ends its line: the "]" on the next line does not complete it.
    parse(p, "[00:01]a[00:12\n]b\n[00:01:5\n0]");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(p.document.lines[0].text, "a[00:12");
    EXPECT_EQ(p.warnings.seen.size(), 2u);
}

TEST(LyricsParserTags, LongTagWithCloseBracketInsideKeepsOffsetsWithinTheText) {
    Parsed p;
    // "[00:00:]5]" is a long tag (bytes 0-6 and 9); the text drops it only up to its first "]".
    parse(p, "a[00:01:]5]b[00:02]");
    ASSERT_EQ(p.result, 1);
    const LyricsLine& line = p.document.lines[0];
    EXPECT_EQ(line.text, "a5]b");
    for (const TimeMark& m : line.marks) EXPECT_LE(m.offset, line.length);
    // The uncounted bytes would put the mark before "い" one byte into "あ": it marks "あ" instead.
    Parsed q;
    parse(q, "[00:01:]x]\xE3\x81\x82[00:02]\xE3\x81\x84[00:03]");
    ASSERT_EQ(q.result, 1);
    EXPECT_EQ(q.document.lines[0].text, "x]\xE3\x81\x82\xE3\x81\x84");
    EXPECT_EQ(q.document.lines[0].mark(1)->offset, 2);
}

// Repeated and karaoke lines

TEST(LyricsParserRepeats, KaraokeLineTimesEachStretch) {
    Parsed p;
    parse(p, "[00:10:00]Ka[00:10:50]ra[00:11:00]o[00:11:20]ke");
    ASSERT_EQ(p.document.lineCount(), 1);
    const LyricsLine& line = p.document.lines[0];
    EXPECT_EQ(line.text, "Karaoke");
    EXPECT_EQ(line.isKaraoke, 1);
    EXPECT_EQ(marksOf(line), (Marks{{0, 1000}, {2, 1050}, {4, 1100}, {5, 1120}, {7, 1420}}));
}

TEST(LyricsParserRepeats, LineStartingWithShortTagsRepeatsOncePerTag) {
    Parsed two;
    parse(two, "[00:12][01:30]Chorus\n[00:50]Verse");
    EXPECT_EQ(textsOf(two.document), (std::vector<std::string>{"Chorus", "Verse", "Chorus"}));
    for (const LyricsLine& line : two.document.lines) EXPECT_EQ(line.isKaraoke, 0);

    Parsed three;
    parse(three, "[00:12][01:30][02:45]Chorus");
    ASSERT_EQ(three.document.lineCount(), 3);
    EXPECT_EQ(three.document.lines[0].isKaraoke, 1);
    EXPECT_EQ(three.document.lines[1].isKaraoke, 0);
    EXPECT_EQ(three.document.lines[2].isKaraoke, 0);
    EXPECT_EQ(three.document.lines[2].marks[0].time, 16500);
}

TEST(LyricsParserRepeats, ShortTagThenTimedStretchMakesTwoLines) {
    Parsed p;
    parse(p, "[00:12]Hello[00:15]World");
    ASSERT_EQ(p.document.lineCount(), 2);
    EXPECT_EQ(p.document.lines[0].text, "HelloWorld");
    EXPECT_EQ(marksOf(p.document.lines[0]), (Marks{{0, 1200}, {10, 1500}}));
    // The second copy keeps its stretch from offset 5 and gets a start at the first one's end.
    EXPECT_EQ(marksOf(p.document.lines[1]), (Marks{{0, 1500}, {5, 1500}, {10, 1800}}));
}

TEST(LyricsParserRepeats, LongTagFirstIsNotARepeatedLine) {
    Parsed p;
    parse(p, "[00:12:00][00:13]Hello");
    ASSERT_EQ(p.document.lineCount(), 1);
    EXPECT_EQ(marksOf(p.document.lines[0]), (Marks{{0, 1200}, {0, 1300}, {5, 1600}}));
}

// Lines of only tags

TEST(LyricsParserTagOnlyLines, CloseTheLineBeforeOnlyWhenItIsOpen) {
    Parsed p;
    parse(p, "[00:01]open\n[00:02]\n[00:03:00]closed[00:04]\n[00:05]\n[00:06]last");
    ASSERT_EQ(p.document.lineCount(), 3);
    EXPECT_EQ(marksOf(p.document.lines[0]), (Marks{{0, 100}, {4, 200}}));
    EXPECT_EQ(marksOf(p.document.lines[1]), (Marks{{0, 300}, {6, 400}}));
}

TEST(LyricsParserTagOnlyLines, AreIgnoredBeforeTheFirstLyricsLine) {
    Parsed p;
    parse(p, "[00:01][00:02]\n[00:03]a");
    ASSERT_EQ(p.document.lineCount(), 1);
    EXPECT_EQ(marksOf(p.document.lines[0]), (Marks{{0, 300}, {1, 600}}));
}

TEST(LyricsParserTagOnlyLines, SeveralTagsStandAfterTheEndMarkAtOffsetZero) {
    Parsed p;
    parse(p, "[00:01]ab\n[00:02][00:03]");
    ASSERT_EQ(p.document.lineCount(), 1);
    // The renderer receives these non-ascending offsets as they are; completion adds an end mark.
    EXPECT_EQ(marksOf(p.document.lines[0]), (Marks{{0, 100}, {2, 200}, {0, 300}, {2, 600}}));
}

// Headers

TEST(LyricsParserHeaders, KeywordsMatchInAnyCaseWithAnySeparatorRun) {
    Parsed p;
    parse(p,
          "@title=My Song \n@ARTIST \t= The Band\n@Arbum\tAlbum\tignored\n@words\n@Music=A=B\n"
          "@KraBy tagger\n@Unknown x\n[00:01]a");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(p.document.title, "My Song ");  // trailing spaces belong to the value
    EXPECT_EQ(p.document.artist, "The Band");
    EXPECT_EQ(p.document.album, "Album");  // a TAB ends the value
    EXPECT_EQ(p.document.words, "");       // empty but present
    EXPECT_EQ(p.document.music, "A=B");
    EXPECT_EQ(p.document.taggingBy, "tagger");
}

TEST(LyricsParserHeaders, LaterHeaderWinsWhereverItStands) {
    Parsed p;
    parse(p, "@Title first\n[00:01]a\n@TaggingBy x\n@Title second\n@KraBy y");
    EXPECT_EQ(p.document.title, "second");
    EXPECT_EQ(p.document.taggingBy, "y");
}

TEST(LyricsParserHeaders, NumbersAreReadAsDecimalPrefixes) {
    Parsed p;
    parse(p, "@TimeRatio 1.0\n@TotalSec=  -12abc\n@Flames 99999999999\n[00:10]a");
    EXPECT_EQ(p.document.timeRatio, 1.0);
    EXPECT_EQ(p.document.totalSec, -12);
    EXPECT_EQ(p.document.frames, INT32_MAX);
    // With timeRatio 1 a standard-time display time equals the stored time.
    EXPECT_EQ(p.document.displayTime(p.document.lines[0].marks[0], 0), 1000);

    Parsed q;
    parse(q, "@TimeRatio .5e1x\n[00:10]a");
    EXPECT_EQ(q.document.timeRatio, 5.0);
}

TEST(LyricsParserHeaders, UnusableTimeRatioKeepsTheRatioItHad) {
    for (const char* header : {"@TimeRatio", "@TimeRatio 0", "@TimeRatio abc", "@TimeRatio 1e-9", "@TimeRatio 1e999",
                               "@TimeRatio nan", "@TimeRatio inf", "@TimeRatio 0x10"}) {
        Parsed p;
        parse(p, std::string(header) + "\n[99:99:99]a");
        EXPECT_EQ(p.document.timeRatio, kDefaultRatio) << header;
    }
    Parsed kept;
    parse(kept, "@TimeRatio 2\n@TimeRatio 0\n[00:01]a");
    EXPECT_EQ(kept.document.timeRatio, 2.0);
}

TEST(LyricsParserHeaders, HeaderOnlyTextReturnsZeroAndKeepsTheHeaders) {
    Parsed p;
    parse(p, "@Title Only\nHello\n\n@Artist Me");
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.document.lineCount(), 0);
    EXPECT_EQ(p.document.title, "Only");
    EXPECT_EQ(p.document.artist, "Me");
}

TEST(LyricsParserHeaders, AtLineWithATagStartIsALyricsLine) {
    Parsed p;
    parse(p, "@Title [00:01]x");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(p.document.title, std::nullopt);
    EXPECT_EQ(p.document.lines[0].text, "@Title x");
}

// Line splitting

TEST(LyricsParserLines, EveryLineEndFormSplitsAndTwoZerosEndTheText) {
    Parsed p;
    std::string text = "[00:01]a\r\n[00:02]b\r[00:03]c\n[00:04]d\n\r[00:05]e"s + "\0[00:06]f\0\0[00:07]gone"s;
    parse(p, text);
    EXPECT_EQ(textsOf(p.document), (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));
}

TEST(LyricsParserLines, TextIsCutAtTheSizeLimitBetweenCharacters) {
    std::string text = "[00:01]first\n";
    text += std::string(kMaxLyricsTextBytes - text.size() - 9, '\n');
    text += u8"[00:02]aあbcdefgh";  // crosses the limit inside "あ": "[00:02]a" remains
    text += "\n[00:03]beyond";
    Parsed p;
    parse(p, text);
    EXPECT_EQ(textsOf(p.document), (std::vector<std::string>{"first", "a"}));
}

TEST(LyricsParserLines, LaterLineWithoutWellFormedTagIsDropped) {
    Parsed p;
    parse(p, "[00:01]a\n[00:02,00]broken\n[00:03]\n[00:04]c");
    ASSERT_EQ(p.result, 1);
    ASSERT_EQ(textsOf(p.document), (std::vector<std::string>{"a", "c"}));
    // The tag-only line closes the last kept line.
    EXPECT_EQ(marksOf(p.document.lines[0]), (Marks{{0, 100}, {1, 300}}));
    for (const LyricsLine& line : p.document.lines) EXPECT_GE(line.marks.size(), 2u);
}

// Completion and ordering

TEST(LyricsParserOrdering, CompletesInFileOrderThenOrdersByStart) {
    Parsed p;
    parse(p, "[00:10]One\n[00:15][01:15]Chorus\n[00:20]Three\n[01:10]Four");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(textsOf(p.document), (std::vector<std::string>{"One", "Chorus", "Three", "Four", "Chorus"}));
    EXPECT_EQ(marksOf(p.document.lines[0]), (Marks{{0, 1000}, {3, 1500}}));
    EXPECT_EQ(marksOf(p.document.lines[1]), (Marks{{0, 1500}, {6, 7500}}));
    EXPECT_EQ(marksOf(p.document.lines[2]), (Marks{{0, 2000}, {5, 7000}}));
    EXPECT_EQ(marksOf(p.document.lines[3]), (Marks{{0, 7000}, {4, 7300}}));
    EXPECT_EQ(marksOf(p.document.lines[4]), (Marks{{0, 7500}, {6, 2000}}));
}

TEST(LyricsParserOrdering, AddedMarksHoldConvertedTimes) {
    Parsed p;
    parse(p, "x[00:10]One\n[00:20]Two", 0);
    // Standard time: the added end marks hold display times, which are converted again when read.
    EXPECT_EQ(marksOf(p.document.lines[0]), (Marks{{0, 0}, {1, 1000}, {4, 2009}}));
    EXPECT_EQ(marksOf(p.document.lines[1]), (Marks{{0, 2000}, {3, 2309}}));
    EXPECT_EQ(p.document.displayTime(p.document.lines[0].marks.back(), 0), 2018);
}

namespace {

// The ordering as a plain run of 1000 passes of adjacent exchange over the first 10000 lines.
std::vector<int32_t> referenceOrder(std::vector<int32_t> keys) {
    size_t count = std::min<size_t>(keys.size(), kLastCompletedIndex + 2);
    for (int pass = 0; pass < kOrderingPasses; ++pass)
        for (size_t i = 0; i + 1 < count; ++i)
            if (keys[i] > keys[i + 1]) std::swap(keys[i], keys[i + 1]);
    return keys;
}

std::vector<int32_t> fastOrder(const std::vector<int32_t>& keys) {
    LyricsDocument document;
    document.timeRatio = 1.0;  // standard time with ratio 1: display time = stored time
    for (size_t i = 0; i < keys.size(); ++i) {
        LyricsLine& line = document.lines.emplace_back();
        line.marks = {{0, keys[i]}, {0, static_cast<int32_t>(i)}};
    }
    orderLines(document, 0);
    std::vector<int32_t> ordered;
    for (const LyricsLine& line : document.lines) ordered.push_back(line.marks[0].time);
    // Ties keep their file order.
    for (size_t i = 1; i < document.lines.size(); ++i) {
        if (document.lines[i].marks[0].time == document.lines[i - 1].marks[0].time) {
            EXPECT_LT(document.lines[i - 1].marks[1].time, document.lines[i].marks[1].time);
        }
    }
    return ordered;
}

}  // namespace

TEST(LyricsParserOrdering, MatchesAThousandPassesOfAdjacentExchange) {
    std::mt19937 random(7);
    for (size_t count : {0u, 1u, 2u, 5u, 1001u, 1002u, 2500u, 10003u}) {
        std::vector<int32_t> keys(count);
        for (int32_t& k : keys) k = static_cast<int32_t>(random() % 50);  // many ties
        EXPECT_EQ(fastOrder(keys), referenceOrder(keys)) << count;
    }
    // A line 1001 places behind its place moves forward by 1000 only.
    std::vector<int32_t> late(1200);
    for (size_t i = 0; i < late.size(); ++i) late[i] = static_cast<int32_t>(i + 10);
    late[1001] = 0;
    std::vector<int32_t> ordered = fastOrder(late);
    EXPECT_EQ(ordered, referenceOrder(late));
    EXPECT_EQ(ordered[1], 0);
    // Reversed: the worst case.
    std::vector<int32_t> reversed(3000);
    for (size_t i = 0; i < reversed.size(); ++i) reversed[i] = static_cast<int32_t>(reversed.size() - i);
    EXPECT_EQ(fastOrder(reversed), referenceOrder(reversed));
}
