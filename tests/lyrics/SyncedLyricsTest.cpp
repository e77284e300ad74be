// Synchronised lyrics entries to display lines: a line per entry, or karaoke lines joined from
// word-level entries, completed and put in time order like the text syntax's lines.
#include "lyrics/SyncedLyrics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentDump.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsParser.h"

namespace {

// The lines built, each as linesWithMarks shows it. Standard time on a clock that runs true, so
// that the times completion adds read plainly.
std::vector<std::string> built(const std::vector<SyncedText>& entries, int* result = nullptr) {
    LyricsDocument document;
    document.timeRatio = 1;
    int r = buildSyncedLines(document, entries, 0);
    if (result) *result = r;
    return linesWithMarks(document);
}

using Lines = std::vector<std::string>;

class IgnoredWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t, int32_t) override {}
};

}  // namespace

TEST(SyncedLyrics, WithoutLineBreaksEveryEntryIsALineAndAnEmptyOneEndsTheLineBefore) {
    EXPECT_EQ(built({{100, "One"}, {200, "Two"}, {300, ""}, {500, "Three"}}),
              (Lines{"One 0@100 3@200", "Two 0@200 3@300", "Three 0@500 5@800"}));
    // Out of order in the frame, in time order on the bar.
    EXPECT_EQ(built({{500, "Late"}, {100, "Early"}}), (Lines{"Early 0@100 5@500", "Late 0@500 4@800"}));
}

TEST(SyncedLyrics, WordEntriesContinueTheLineUntilOneBeginsWithALineBreak) {
    EXPECT_EQ(built({{100, "Hel"}, {150, "lo"}, {300, "\nWor"}, {350, "ld"}, {400, "\r\nOne"}}),
              (Lines{"Hello (karaoke) 0@100 3@150 5@300", "World (karaoke) 0@300 3@350 5@400", "One 0@400 3@700"}));
    // A break at an entry's end closes its line as well; one inside an entry is a space.
    EXPECT_EQ(built({{100, "A"}, {200, "b\n"}, {300, "C\r\nc"}, {400, "d"}}),
              (Lines{"Ab (karaoke) 0@100 1@200 2@300", "C cd (karaoke) 0@300 3@400 4@700"}));
    // Word-level entries with a gap: the empty entry ends the sung line where it stands.
    EXPECT_EQ(built({{100, "Sung"}, {200, " words"}, {400, "\n"}, {900, "\nAgain"}}),
              (Lines{"Sung words (karaoke) 0@100 4@200 10@400", "Again 0@900 5@1200"}));
}

TEST(SyncedLyrics, EntriesWithoutTextAreNoLyrics) {
    int result = -1;
    EXPECT_EQ(built({}, &result), Lines{});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(built({{100, ""}, {200, "\r\n"}, {300, "\n\n"}}, &result), Lines{});
    EXPECT_EQ(result, 0);
}

TEST(SyncedLyrics, TextBeyondTheLyricsLimitIsLeftOutWholeEntriesAtATime) {
    std::vector<SyncedText> entries;
    const std::string word(1000, 'w');
    for (int32_t i = 0; i < 300; ++i) entries.push_back({i * 100, word});
    LyricsDocument document;
    ASSERT_EQ(buildSyncedLines(document, entries, 0), 1);
    EXPECT_EQ(document.lineCount(), static_cast<int32_t>(kMaxLyricsTextBytes / word.size()));
}

TEST(SyncedLyrics, TimeStampsInMillisecondsOrInFramesOfTheStream) {
    EXPECT_EQ(syncedTime(1239, SyncedTimeFormat::kMilliseconds, 0, 0), 123);
    // 1152 samples at 44.1 kHz: 26.1224 ms a frame. 576 samples at 16 kHz: 36 ms.
    EXPECT_EQ(syncedTime(1000, SyncedTimeFormat::kMpegFrames, 1152, 44100), 2612);
    EXPECT_EQ(syncedTime(1000, SyncedTimeFormat::kMpegFrames, 576, 16000), 3600);
    EXPECT_EQ(mpegFrameSamples(2, 3), 576);
    EXPECT_EQ(mpegFrameSamples(1, 3), 1152);
    EXPECT_EQ(mpegFrameSamples(2, 1), 384);
    // The largest stamps stay a day long, so that later arithmetic on times cannot overflow.
    EXPECT_EQ(syncedTime(UINT32_MAX, SyncedTimeFormat::kMpegFrames, 1152, 8000), kMaxSyncedTime);
    EXPECT_EQ(syncedTime(UINT32_MAX, SyncedTimeFormat::kMilliseconds, 0, 0), kMaxSyncedTime);
}

TEST(SyncedLyrics, WrittenAsLrcWithWordMarksOrNotAtAllWhereTheTextCouldNotReadBack) {
    // Lines word by word, one an entry without text ends, and one of a single entry.
    EXPECT_EQ(syncedLyricsText({{100, "Hel"}, {150, "lo"}, {300, "\nWor"}, {350, "ld"}, {400, "\n"}, {500, "\nOne"}}),
              "[00:01.00]<00:01.00>Hel<00:01.50>lo\n[00:03.00]<00:03.00>Wor<00:03.50>ld<00:04.00>\n[00:05.00]One\n");
    EXPECT_EQ(syncedLyricsText({{603999, "the last time a tag holds"}}), "[99:99.99]the last time a tag holds\n");
    // A text that would read as a tag, and a time no tag can write: no text to keep.
    EXPECT_EQ(syncedLyricsText({{100, "at [00:12] sharp"}}), "");
    EXPECT_EQ(syncedLyricsText({{100, "word<00:01.00>"}}), "");
    EXPECT_EQ(syncedLyricsText({{100, "x"}, {604000, "y"}}), "");
}

TEST(SyncedLyrics, AnEntryAtTheTimeOfTheLineBeforeIsItsTranslationAsItsWrittenTextReadsBack) {
    const std::vector<SyncedText> entries = {
        {100, "Hello"}, {100, "Bonjour"}, {100, "Hallo"}, {100, "Hej"}, {400, "Bye"}};
    LyricsDocument document;
    document.timeRatio = 1;
    ASSERT_EQ(buildSyncedLines(document, entries, 0), 1);
    ASSERT_EQ(document.lines.size(), 2u);
    EXPECT_EQ(document.lines[0].text, "Hello");
    EXPECT_EQ(document.lines[0].translation, "Bonjour");
    EXPECT_EQ(document.lines[0].secondTranslation, "Hallo");  // the first two are kept
    EXPECT_EQ(document.lines[0].marks.back().time, document.lines[1].marks.front().time) << "sung until the next line";

    // The timing saved from them is an LRC text: read back, the same lines.
    std::string text = syncedLyricsText(entries);
    LyricsDocument reread;
    IgnoredWarnings warnings;
    ASSERT_EQ(parseLyrics(reread, text.data(), text.size(), 0, warnings), 1);
    ASSERT_EQ(reread.lines.size(), 2u);
    EXPECT_EQ(reread.lines[0].translation, "Bonjour");
    EXPECT_EQ(reread.lines[0].secondTranslation, "Hallo");
    EXPECT_EQ(reread.lines[1].text, "Bye");
}
