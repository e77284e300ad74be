#include "render/Effects.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int32_t> rowPercentages(int32_t effects, int32_t height) {
    std::vector<int32_t> rows;
    for (int32_t row = 0; row < height; ++row) rows.push_back(effectRowPercentage(effects, height, row));
    return rows;
}

}  // namespace

TEST(Effects, RowsOfTheDefaultBarHeight) {
    // Memory row 0 is the bottom edge; 100 marks a row the effect leaves alone.
    using Rows = std::vector<int32_t>;
    const Rows bottomHalfToMiddle = {50, 55, 61, 66, 72, 77, 83, 88, 94};
    Rows effect1 = bottomHalfToMiddle;
    effect1.resize(18, 100);
    EXPECT_EQ(rowPercentages(1, 18), effect1);
    EXPECT_EQ(rowPercentages(2, 18),
              (Rows{25, 30, 36, 41, 47, 52, 58, 63, 69, 75, 80, 86, 91, 97, 102, 108, 113, 119}));
    // Effect 3: six rows at the bottom, but the top band starts above 2h/3 = 12 and has only five.
    EXPECT_EQ(rowPercentages(3, 18),
              (Rows{50, 58, 66, 75, 83, 91, 100, 100, 100, 100, 100, 100, 100, 83, 75, 66, 58, 50}));
    // Effect 4: row 9 (h/2) belongs to neither half.
    EXPECT_EQ(rowPercentages(4, 18), (Rows{50, 55, 61, 66, 72, 77, 83, 88, 94, 100, 88, 83, 77, 72, 66, 61, 55, 50}));
    for (int32_t tint = 5; tint <= 8; ++tint) {
        EXPECT_EQ(rowPercentages(tint, 18),
                  (Rows{0, 11, 22, 33, 44, 55, 66, 77, 88, 100, 100, 100, 100, 100, 100, 100, 100, 100}));
    }
    for (int32_t none : {0, 9, -1, 1000}) EXPECT_EQ(rowPercentages(none, 18), Rows(18, 100));
}

TEST(Effects, RowsOfTinyAndTallBars) {
    // Height 1: only effect 2 touches a row; height 2: effect 4 takes row 0 at 50 and not row 1.
    for (int32_t effects = 1; effects <= 8; ++effects) {
        EXPECT_EQ(effectRowPercentage(effects, 1, 0), effects == 2 ? 25 : 100) << effects;
    }
    EXPECT_EQ(rowPercentages(4, 2), (std::vector<int32_t>{50, 100}));
    EXPECT_EQ(rowPercentages(3, 2), (std::vector<int32_t>{100, 100}));
    EXPECT_EQ(rowPercentages(2, 2), (std::vector<int32_t>{25, 75}));
    EXPECT_EQ(rowPercentages(0, 0), std::vector<int32_t>{});

    std::vector<int32_t> tall = rowPercentages(3, 80);
    EXPECT_EQ(tall[25], 98);  // last of the 26 bottom rows
    EXPECT_EQ(tall[26], 100);
    EXPECT_EQ(tall[53], 100);
    EXPECT_EQ(tall[54], 98);  // top band: rows 79 down to 2 * 80 / 3 + 1 = 54
    EXPECT_EQ(tall[79], 50);
    EXPECT_EQ(effectRowPercentage(4, 80, 40), 100);
    EXPECT_EQ(effectRowPercentage(4, 80, 41), 97);
    EXPECT_EQ(effectRowPercentage(2, 80, 59), 98);
    EXPECT_EQ(effectRowPercentage(2, 80, 60), 100);
    EXPECT_EQ(effectRowPercentage(8, 80, 39), 97);
}

TEST(Effects, TintsTheBarInItsColour) {
    const int32_t width = 3, height = 18, stride = 5;
    std::vector<uint32_t> pixels(stride * height, 0xFF000000);  // black, with a stray top byte
    applyEffects({pixels.data(), stride, width, height}, 8, 0x123456);
    EXPECT_EQ(pixels[0], 0x00FF0000u);           // bottom row: the full red
    EXPECT_EQ(pixels[stride + 2], 0x00E20000u);  // row 1 at 11 %: 89 % of 255 = 226.95
    EXPECT_EQ(pixels[3], 0xFF000000u);           // outside the bar's width
    EXPECT_EQ(pixels[9 * stride], 0xFF000000u);  // the middle row and above: unchanged
    EXPECT_EQ(pixels[17 * stride + 1], 0xFF000000u);

    std::vector<uint32_t> background(stride * height, 0x00FFFFFF);
    applyEffects({background.data(), stride, width, height}, 1, 0x0000FF);  // ColorBACK red
    EXPECT_EQ(background[0], 0x00FF7F7Fu);                                  // bottom row half-way to red
    EXPECT_EQ(background[12 * stride], 0x00FFFFFFu);
}
