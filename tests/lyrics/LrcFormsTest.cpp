// The LRC forms read on top of the original syntax: full-stop tags, ID tags, the offset, enhanced
// LRC word timing and LRC blank lines.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/TimeTags.h"

namespace {

using Marks = std::vector<std::pair<int32_t, int32_t>>;

class RecordedWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t lineNumber, int32_t offset) override { seen.emplace_back(lineNumber, offset); }
    std::vector<std::pair<int32_t, int32_t>> seen;
};

struct Parsed {
    explicit Parsed(const std::string& text) { result = parseLyrics(document, text.data(), text.size(), 1, warnings); }
    Marks marks(size_t n) const {
        Marks marks;
        for (const TimeMark& m : document.lines.at(n).marks) marks.emplace_back(m.offset, m.time);
        return marks;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> texts;
        for (const LyricsLine& line : document.lines) texts.push_back(line.text);
        return texts;
    }
    LyricsDocument document;
    RecordedWarnings warnings;
    int result = 0;
};

}  // namespace

TEST(LrcTags, FullStopTagsGiveHundredthsWithMillisecondsRoundedDown) {
    Parsed p("[00:12.34]a[01:02.345]b[01:02.999]c");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(p.document.lines[0].text, "abc");
    EXPECT_EQ(p.marks(0), (Marks{{0, 1234}, {1, 6234}, {2, 6299}, {3, 6599}}));
    EXPECT_EQ(p.document.lines[0].isKaraoke, 1);  // three tag starts
    EXPECT_TRUE(p.warnings.seen.empty());
}

TEST(LrcTags, OtherFullStopSpellingsStayMalformed) {
    Parsed p("[00:01]a[00:12.3]b[00:12.3456]c[00:12.x5]d[00:12.34");
    EXPECT_EQ(p.document.lines[0].text, "a[00:12.3]b[00:12.3456]c[00:12.x5]d[00:12.34");
    EXPECT_EQ(p.warnings.seen, (std::vector<std::pair<int32_t, int32_t>>{{1, 8}, {1, 18}, {1, 31}, {1, 42}}));
}

TEST(LrcTags, AngleTagsOnlyCountInsideTaggedLinesAndNeedTheFullStopForm) {
    Parsed p("<00:01.00>untagged\n[00:02.00]a<00:03>b<0:03.00>c<00:03.0>d");
    ASSERT_EQ(p.document.lineCount(), 1);
    EXPECT_EQ(p.document.lines[0].text, "a<00:03>b<0:03.00>c<00:03.0>d");
    EXPECT_TRUE(p.warnings.seen.empty());  // a wrong angle tag is silent text
}

TEST(LrcRepeats, FullStopTagsRepeatOnlyWhenTheyAllLeadTheLine) {
    Parsed chorus("[00:12.00][01:30.00]Chorus");
    EXPECT_EQ(chorus.texts(), (std::vector<std::string>{"Chorus", "Chorus"}));
    EXPECT_EQ(chorus.document.lines[0].isKaraoke, 0);

    Parsed karaoke("[00:10.00]Ka[00:10.50]ra");
    ASSERT_EQ(karaoke.document.lineCount(), 1);
    EXPECT_EQ(karaoke.marks(0), (Marks{{0, 1000}, {2, 1050}, {4, 1350}}));

    Parsed spread("[00:12.00][00:13.00]Hel[00:14.00]lo");
    ASSERT_EQ(spread.document.lineCount(), 1);
    EXPECT_EQ(spread.marks(0), (Marks{{0, 1200}, {0, 1300}, {3, 1400}, {5, 1700}}));

    // A leading short tag repeats the line as ever, now for a full-stop tag too.
    Parsed mixed("[00:12][01:30.00]Chorus");
    EXPECT_EQ(mixed.texts(), (std::vector<std::string>{"Chorus", "Chorus"}));
}

TEST(LrcRepeats, WordTimingTimesTheFirstCopyAndNeverRepeatsALine) {
    Parsed p("[00:12.00][01:30.00]<00:12.00>Cho<00:12.50>rus<00:13.00>");
    ASSERT_EQ(p.document.lineCount(), 2);
    EXPECT_EQ(p.marks(0), (Marks{{0, 1200}, {0, 1200}, {3, 1250}, {6, 1300}}));
    EXPECT_EQ(p.document.lines[0].isKaraoke, 1);
    EXPECT_EQ(p.marks(1), (Marks{{0, 9000}, {6, 9300}}));

    Parsed word("[00:12]<00:12.50>Hello");
    ASSERT_EQ(word.document.lineCount(), 1);
    EXPECT_EQ(word.marks(0), (Marks{{0, 1200}, {0, 1250}, {5, 1550}}));
    EXPECT_EQ(word.document.lines[0].isKaraoke, 0);  // two tag starts
}

TEST(LrcRepeats, EveryCopyEndsWhereTheNextLineInTimeBegins) {
    Parsed p("[00:10.00]One\n[00:20.00][01:10.00]Chorus\n[00:30.00]Three\n[01:00.00]Four\n[01:20.00]Five");
    ASSERT_EQ(p.texts(), (std::vector<std::string>{"One", "Chorus", "Three", "Four", "Chorus", "Five"}));
    EXPECT_EQ(p.marks(1), (Marks{{0, 2000}, {6, 3000}}));
    EXPECT_EQ(p.marks(4), (Marks{{0, 7000}, {6, 8000}}));
    EXPECT_EQ(p.marks(3), (Marks{{0, 6000}, {4, 8000}}));  // file order, as ever: the chorus index wins

    Parsed last("[00:10.00]One\n[00:20.00][01:10.00]Chorus");
    EXPECT_EQ(last.marks(2), (Marks{{0, 7000}, {6, 7300}}));
}

TEST(LrcBlanks, ABlankEndsTheCopyItFollowsInTime) {
    Parsed p("[00:21.10][01:30.50]Chorus\n[00:26.00][01:35.00]\n[00:30.00]Verse\n[00:34.00]\n[00:20.00]");
    ASSERT_EQ(p.texts(), (std::vector<std::string>{"Chorus", "Verse", "Chorus"}));
    EXPECT_EQ(p.marks(0), (Marks{{0, 2110}, {6, 2600}}));
    EXPECT_EQ(p.marks(1), (Marks{{0, 3000}, {5, 3400}}));  // a blank before its start ends nothing
    EXPECT_EQ(p.marks(2), (Marks{{0, 9050}, {6, 9500}}));

    // Before any lyrics line it is ignored.
    Parsed first("[00:01.00]\n[00:02.00]a");
    EXPECT_EQ(first.marks(0), (Marks{{0, 200}, {1, 500}}));
}

TEST(LrcIdTags, SetTheHeadersInFileOrderWithTheAtHeaders) {
    Parsed p(
        " [TI: Song Title ]\t\n[Ar:Artist]\n[al:Album]\n[by:Timer]\n[re:Editor]\n[ti:x] y\n@Artist At\n"
        "[00:01.00]a\n@KraBy Kra\n[al:]");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(p.document.title, "Song Title");
    EXPECT_EQ(p.document.artist, "At");
    EXPECT_EQ(p.document.album, "");
    EXPECT_EQ(p.document.taggingBy, "Kra");
    EXPECT_EQ(p.document.offsetMs, 0);
}

TEST(LrcOffset, MovesEveryTagTimeEarlierInMillisecondsWithinWhatTagsHold) {
    Parsed later("[offset:-255]\n[00:10.00]a<00:10.50>b\n[00:12.00]\n[00:20.00]c");
    EXPECT_EQ(later.document.offsetMs, -255);
    EXPECT_EQ(later.marks(0), (Marks{{0, 1025}, {1, 1075}, {2, 1225}}));
    EXPECT_EQ(later.marks(1), (Marks{{0, 2025}, {1, 2325}}));

    Parsed earlier("[00:01.00]a\n[00:10.00]b\n[offset: +1005]");  // wherever the tag stands
    EXPECT_EQ(earlier.marks(0), (Marks{{0, 0}, {1, 899}}));       // 1000 ms - 1005 ms: the song's start
    EXPECT_EQ(earlier.marks(1), (Marks{{0, 899}, {1, 1199}}));

    Parsed far("[offset:-99999999999]\n[00:01]a");
    EXPECT_EQ(far.marks(0)[0].second, kMaxTagTime);

    Parsed lastWins("[offset:500]\n[offset:x]\n[00:01]a");
    EXPECT_EQ(lastWins.document.offsetMs, 0);
    EXPECT_EQ(lastWins.marks(0)[0].second, 100);
}
