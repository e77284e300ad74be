#include "render/WipeScroll.h"

#include <gtest/gtest.h>

#include <vector>

#include "render/RenderTestLines.h"

namespace {

// Every byte is `pixelsPerByte` wide; remembers what it was asked to measure.
class FixedPitch : public TextMeasure {
public:
    explicit FixedPitch(int32_t pixelsPerByte) : pitch(pixelsPerByte) {}
    int32_t extent(int32_t bytes) override {
        asked.push_back(bytes);
        return bytes * pitch;
    }
    int32_t pitch;
    std::vector<int32_t> asked;
};

struct WipeTest : ::testing::Test {
    WipeTest() { makeTrueClock(document); }
    int32_t at(const LyricsLine& line, int32_t positionMs, int piecewise = 1) {
        return wipePosition(line, document, 0, measure, positionMs, piecewise);
    }
    LyricsDocument document;
    FixedPitch measure{10};
};

}  // namespace

TEST_F(WipeTest, RunsBetweenConsecutiveMarks) {
    LyricsLine line = makeLine("abcd", {{0, 1000}, {2, 1100}, {4, 1300}});
    line.width = 40;
    EXPECT_EQ(at(line, 9990), 0);  // before the first mark
    EXPECT_EQ(at(line, 10000), 0);
    EXPECT_EQ(at(line, 10500), 10);  // 0 + 50 * 20 / 100
    EXPECT_EQ(at(line, 11000), 20);  // exactly at a mark: that mark's offset
    EXPECT_EQ(at(line, 12000), 30);  // 20 + 100 * 20 / 200
    EXPECT_EQ(at(line, 13009), 40);  // t = 1300, still the last mark
    EXPECT_EQ(at(line, 13010), 48);  // past the last mark: width + 8
    // Straight: one constant-speed run from the first mark to the last.
    EXPECT_EQ(at(line, 11500, 0), 20);
    EXPECT_EQ(at(line, 12250, 0), 30);
}

TEST_F(WipeTest, EqualMarkTimesJumpInsteadOfDividingByZero) {
    LyricsLine line = makeLine("abcdef", {{0, 1000}, {2, 1100}, {4, 1100}, {6, 1300}});
    line.width = 60;
    EXPECT_EQ(at(line, 11000), 20);
    EXPECT_EQ(at(line, 11010), 40);  // jumped to the later offset
    LyricsLine held = makeLine("abc", {{0, 1000}, {3, 1000}});
    held.width = 30;
    EXPECT_EQ(at(held, 10000), 30);
    EXPECT_EQ(at(held, 10000, 0), 30);
    EXPECT_EQ(at(held, 10010), 38);
    LyricsLine single = makeLine("ab", {{0, 1000}});
    single.width = 20;
    EXPECT_EQ(at(single, 10000), 0);
}

TEST_F(WipeTest, UnmeasuredLinesAndPositionZeroStayAtTheStart) {
    LyricsLine line = makeLine("abcd", {{0, 0}, {4, 100}});
    EXPECT_EQ(at(line, 500), 0);  // width 0: not drawn yet
    line.width = 40;
    EXPECT_EQ(at(line, 0), 0);
    EXPECT_EQ(at(line, 500), 20);
    LyricsLine empty;
    EXPECT_EQ(at(empty, 500), 0);
}

TEST_F(WipeTest, OffsetsOutsideTheTextAreMeasuredAtItsEnds) {
    LyricsLine line = makeLine("abc", {{-5, 1000}, {50, 1100}});
    line.width = 30;
    EXPECT_EQ(at(line, 10500), 15);
    for (int32_t bytes : measure.asked) {
        EXPECT_GE(bytes, 0);
        EXPECT_LE(bytes, 3);
    }
}

TEST(LinePlacement, CentresLinesThatFitAndScrollsTheOthers) {
    EXPECT_TRUE(lineFitsBar(239, 245));
    EXPECT_EQ(placeLine(239, 245, 1440, 0).x0, 0);  // width + 6 = bar: centred at 0
    EXPECT_FALSE(lineFitsBar(240, 245));
    EXPECT_EQ(placeLine(100, 245, 1440, 0).x0, 69);
    LinePlacement scrolled = placeLine(240, 245, 1440, 500);
    EXPECT_EQ(scrolled.x0, 0);
    EXPECT_EQ(scrolled.source, 1);
}

TEST(LinePlacement, WorkedScrollWithTheWipe) {
    // Bar 245, line 500: the wipe at 300 keeps column 304 in the middle.
    EXPECT_EQ(scrollTarget(0, 300, 999, 245), 304);
    EXPECT_EQ(placeLine(500, 245, 1440, 304).source, 182);
    EXPECT_EQ(placeLine(500, 245, 1440, 404).source, 261);  // clamped: the line's end at the bar's edge
    EXPECT_EQ(placeLine(500, 245, 1440, 121).source, 0);
    EXPECT_EQ(scrollTarget(5, 300, 999, 245), 304);  // unknown Wset: with the wipe
    EXPECT_EQ(scrollTarget(1, 300, 100, 245), 217);  // (304 + 100 + 30) / 2
    EXPECT_EQ(scrollTarget(2, 300, 100, 245), 130);
    EXPECT_FALSE(scrollUsesStraightPosition(0));
}

TEST(LinePlacement, NeverScrollsPastTheBuffer) {
    // Text cut off at the buffer's edge (80 x 18 = 1440 columns) is not scrolled into view.
    EXPECT_EQ(placeLine(2000, 245, 1440, 100000).source, 1440 - 245);
    // A bar wider than its buffer shows the buffer from its start.
    EXPECT_EQ(placeLine(30000, 20000, 10000, 25000).source, 0);
}

TEST_F(WipeTest, AsynchronousScrollKeepsMovingWhileTheWipeIsHeld) {
    // The third byte is held from 1100 to 1800; the line is 600 pixels in a bar of 245.
    FixedPitch wide(100);
    LyricsLine line = makeLine("abcdef", {{0, 1000}, {3, 1100}, {3, 1800}, {6, 1900}});
    line.width = 600;
    std::vector<int32_t> synchronous, asynchronous;
    for (int32_t positionMs : {12000, 17000}) {
        int32_t wipe = wipePosition(line, document, 0, wide, positionMs, 1);
        int32_t straight = wipePosition(line, document, 0, wide, positionMs, 0);
        synchronous.push_back(placeLine(600, 245, 1440, scrollTarget(0, wipe, straight, 245)).source);
        asynchronous.push_back(placeLine(600, 245, 1440, scrollTarget(2, wipe, straight, 245)).source);
    }
    EXPECT_EQ(synchronous, (std::vector<int32_t>{182, 182}));
    EXPECT_EQ(asynchronous, (std::vector<int32_t>{41, 361}));
}
