// Bilingual LRC texts: a line at the very times of the line before it, with no word marks of its
// own, is that line's translation; everything else reads as it always has.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lyrics/DocumentDump.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"

namespace {

class NoWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t, int32_t) override { ADD_FAILURE() << "a malformed tag"; }
};

struct Parsed {
    explicit Parsed(const std::string& text) { result = parseLyrics(document, text.data(), text.size(), 1, warnings); }
    // Each line as linesWithMarks shows it, with " / translation" and " / second" after it.
    std::vector<std::string> lines() const {
        std::vector<std::string> shown = linesWithMarks(document);
        for (size_t n = 0; n < shown.size(); ++n) {
            const LyricsLine& line = document.lines[n];
            if (!line.translation.empty()) shown[n] += " / " + line.translation;
            if (!line.secondTranslation.empty()) shown[n] += " / " + line.secondTranslation;
        }
        return shown;
    }
    LyricsDocument document;
    NoWarnings warnings;
    int result = 0;
};

using Lines = std::vector<std::string>;

}  // namespace

TEST(LrcTranslations, ABilingualFileReadsAsItsLinesEachSungUntilTheNextLine) {
    // Headers, ID tags and blank lines may stand between a line and its translation; the offset
    // moves both alike.
    Parsed p(
        "[ti:Greetings]\r\n[offset:+500]\r\n"
        "[00:01.00]Hello world\r\n[00:01.00]こんにちは世界\r\n\r\n"
        "[00:04.00]Good night\r\n@Words=Someone\r\n[00:04.00]おやすみ\r\n"
        "[00:06.50]Stars\r\n[00:06.50]星\r\n"
        "[00:09.00]Morning\r\n[ar:Singer]\r\n[00:09.00]朝\r\n");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(p.lines(), (Lines{"Hello world 0@50 11@350 / こんにちは世界", "Good night 0@350 10@600 / おやすみ",
                                "Stars 0@600 5@850 / 星", "Morning 0@850 7@1150 / 朝"}));
    EXPECT_EQ(p.document.title, "Greetings");
    EXPECT_EQ(p.document.words, "Someone");
    EXPECT_EQ(p.document.artist, "Singer");
}

TEST(LrcTranslations, TranslationsGoWithRepeatedAndWordTimedLinesThroughOrdering) {
    // A repeated line's translation repeats with it, and each copy keeps it when the lines are
    // put in time order. A third line at the same times is a second translation; a fourth is
    // left out. A word-timed line (enhanced LRC or the original karaoke tags) keeps its words.
    Parsed p(
        "[00:01.00][00:10.00]Chorus\n[00:01.00][00:10.00]コーラス\n"
        "[00:05.00]<00:05.00>Good <00:05.50>night\n[00:05.00]おやすみ\n[00:05.00]Gute Nacht\n"
        "[00:05.00]Bonne nuit\n"
        "[00:07:00]Ka[00:07:50]ra[00:08:00]o[00:08:20]ke\n[00:07:00]カラオケ\n");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(
        p.lines(),
        (Lines{"Chorus 0@100 6@500 / コーラス", "Good night (karaoke) 0@500 0@500 5@550 10@700 / おやすみ / Gute Nacht",
               "Karaoke (karaoke) 0@700 2@750 4@800 5@820 7@1120 / カラオケ", "Chorus 0@1000 6@1300 / コーラス"}));
}

TEST(LrcTranslations, LinesThatAreNoTranslationReadAsTheyAlwaysHave) {
    // Another time; only some of a repeated line's times; word marks of its own (angle tags, or
    // tags inside the text); the line before was one of only tags (it closed the line before it).
    Parsed p(
        "[00:01.00]One\n[00:02.00]Two\n"
        "[00:03][00:20]Chorus\n[00:03]Not all\n"
        "[00:05.00]Word\n[00:05.00]<00:05.00>Timed <00:05.50>too\n"
        "[00:07:00]Ka[00:07:50]ra\n[00:07:00]カ[00:07:50]ラ\n"
        "[00:09.00]Closed\n[00:10.00]\n[00:10.00]After\n");
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(p.lines(),
              (Lines{"One 0@100 3@200", "Two 0@200 3@300", "Chorus 0@300 6@2000", "Not all 0@300 7@500",
                     "Word 0@500 4@500", "Timed too (karaoke) 0@500 0@500 6@550 9@700", "Kara 0@700 2@750 4@700",
                     "カラ 0@700 3@750 6@900", "Closed 0@900 6@1000", "After 0@1000 5@1300", "Chorus 0@2000 6@300"}));
}
