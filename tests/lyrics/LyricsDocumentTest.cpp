#include "lyrics/LyricsDocument.h"

#include <gtest/gtest.h>

#include "utils/Text.h"

namespace {

LyricsLine lineWithMarks(const char* text, std::initializer_list<TimeMark> marks) {
    LyricsLine line;
    line.text = text;
    line.length = static_cast<int32_t>(line.text.size());
    line.marks = marks;
    return line;
}

}  // namespace

TEST(LyricsDocument, LineIndexRulesWith9999MeaningTheLast) {
    LyricsDocument document;
    EXPECT_EQ(document.line(0), nullptr);
    EXPECT_EQ(document.line(9999), nullptr);
    for (const char* text : {"a", "b", "c"}) document.lines.push_back(lineWithMarks(text, {{0, 0}}));
    EXPECT_EQ(document.line(9999)->text, "c");
    EXPECT_EQ(document.line(2)->text, "c");
    EXPECT_EQ(document.line(3), nullptr);
    EXPECT_EQ(document.line(9998), nullptr);
    EXPECT_EQ(document.line(-5)->text, "a");
}

TEST(LyricsDocument, MarkIndexStopsAtTheLastMark) {
    LyricsLine line = lineWithMarks("abc", {{0, 10}, {1, 20}, {3, 30}});
    EXPECT_EQ(line.mark(0)->time, 10);
    EXPECT_EQ(line.mark(-1)->time, 10);
    EXPECT_EQ(line.mark(1)->time, 20);
    EXPECT_EQ(line.mark(2)->time, 30);
    EXPECT_EQ(line.mark(3)->time, 30);
    EXPECT_EQ(line.mark(9999)->time, 30);
}

TEST(LyricsDocument, DisplayTimeConvertsToStandardOrPlayerTime) {
    LyricsDocument document;
    // Standard time: divided by the default timeRatio, about 0.47% later.
    EXPECT_EQ(document.displayTime({0, 6000}, 0), 6028);
    EXPECT_EQ(document.displayTime({0, 18000}, 0), 18084);
    // Player time after an MP3 load: the frame ratio brings it back to within a hundredth.
    document.setFrameLength(1152);
    EXPECT_NEAR(document.frameRatio, 0.99531250, 1e-8);
    EXPECT_EQ(document.displayTime({0, 100}, 1), 99);
    EXPECT_EQ(document.displayTime({0, 6000}, 1), 6000);
    EXPECT_EQ(document.displayTime({0, -517}, 0), -519);  // truncated toward zero
    document.setFrameLength(1000);
    EXPECT_NEAR(document.frameRatio, 0.9702, 1e-4);
    EXPECT_EQ(document.sampleRateKHz, 44.1);
}

TEST(LyricsDocument, DisplayTimeSaturatesInsteadOfOverflowing) {
    LyricsDocument document;
    document.timeRatio = 1e-9;
    EXPECT_EQ(document.displayTime({0, 606177}, 0), INT32_MAX);
    EXPECT_EQ(document.displayTime({0, -606177}, 0), INT32_MIN);
}

TEST(LyricsDocument, ClearHeadersKeepsLinesAndResetKeepsHeaders) {
    LyricsDocument document;
    document.title = "Song";
    document.artist = "Singer";
    document.taggingBy = "Me";
    document.lines.push_back(lineWithMarks("a", {{0, 0}, {1, 100}}));
    document.loaded = 1;
    document.timeRatio = 1.0;
    document.frames = 5;

    document.clearHeaders();
    EXPECT_EQ(document.title, std::nullopt);
    EXPECT_EQ(document.artist, std::nullopt);
    EXPECT_EQ(document.taggingBy, std::nullopt);
    EXPECT_EQ(document.lineCount(), 1);
    EXPECT_EQ(document.loaded, 1);

    document.title = "Song";
    document.reset();
    EXPECT_EQ(document.lineCount(), 0);
    EXPECT_EQ(document.timeRatio, kDefaultRatio);
    EXPECT_EQ(document.frames, 0);
    EXPECT_EQ(document.loaded, 1);
    EXPECT_EQ(document.title, "Song");
}
