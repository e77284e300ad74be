#include "render/PixelPasses.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The mixing rule as written: x = percentage * 0.01f, evaluated in double precision, each product
// rounded on its own (volatile keeps the compiler from fusing them), truncated toward zero.
uint32_t plainMixByte(uint32_t first, uint32_t second, int percentage) {
    volatile double x = percentage * static_cast<double>(0.01f);
    volatile double a = (1.0 - x) * first;
    volatile double b = x * second;
    return static_cast<uint32_t>(a + b);
}

uint32_t grey(uint32_t byte) { return byte * 0x010101u; }

// A buffer of `stride` x `rows` pixels all set to `fill`, whose bar area is the lower-left corner.
struct TestBuffer {
    TestBuffer(int32_t stride, int32_t rows, uint32_t fill) : stride(stride), pixels(stride * rows, fill) {}
    PixelArea area(int32_t columns, int32_t rows) { return {pixels.data(), stride, columns, rows}; }
    uint32_t& at(int32_t column, int32_t row) { return pixels[row * stride + column]; }
    int32_t stride;
    std::vector<uint32_t> pixels;
};

}  // namespace

TEST(MixPixels, MatchesThePlainFormulaForEveryBytePairAndPercentage) {
    // Every byte lane of the pixel at once: grey pixels put the same pair into all three.
    for (int p = 1; p < 100; ++p) {
        for (uint32_t a = 0; a < 256; ++a) {
            for (uint32_t b = 0; b < 256; ++b) {
                uint32_t expected = grey(plainMixByte(a, b, p));
                ASSERT_EQ(mixPixels(grey(a), grey(b), p), expected) << "p=" << p << " a=" << a << " b=" << b;
                ASSERT_EQ(mixColour(static_cast<int32_t>(grey(a)), grey(b), p), expected);
            }
        }
    }
}

TEST(MixPixels, WorkedValuesAndEndPercentages) {
    EXPECT_EQ(mixPixels(0, 0xFF, 50), 127u);
    EXPECT_EQ(mixPixels(0xFF, 0, 50), 127u);
    EXPECT_EQ(mixPixels(0, 0xFF, 1), 2u);
    EXPECT_EQ(mixPixels(0, 0xFF, 99), 252u);
    EXPECT_EQ(mixPixels(0x00FF0000, 0x0000FF00, 50), 0x007F7F00u);
    // The end values hand back the pictures as they are, top byte included.
    EXPECT_EQ(mixPixels(0xAA123456, 0xBB654321, 0), 0xAA123456u);
    EXPECT_EQ(mixPixels(0xAA123456, 0xBB654321, -7), 0xAA123456u);
    EXPECT_EQ(mixPixels(0xAA123456, 0xBB654321, 100), 0xBB654321u);
    EXPECT_EQ(mixPixels(0xAA123456, 0xBB654321, 1000), 0xBB654321u);
    // A mix packs into 0x00RRGGBB.
    EXPECT_EQ(mixPixels(0xFF000000, 0xFF000000, 50), 0u);
}

TEST(MixColour, SwapsTheColourIntoPixelLayout) {
    EXPECT_EQ(mixColour(0x0000FF, 0x123456, 0), 0x00FF0000u);  // red colour reference, red pixel
    EXPECT_EQ(mixColour(0xFF0000, 0x123456, -1), 0x000000FFu);
    EXPECT_EQ(mixColour(0x0000FF, 0x123456, 100), 0x123456u);
    // Red colour half-way into a black pixel: only the red byte of the pixel moves.
    EXPECT_EQ(mixColour(0x0000FF, 0, 50), 0x007F0000u);
}

TEST(OverlayKeyed, OnlyPureBlackIsTransparent) {
    TestBuffer source(4, 1, 0), destination(4, 1, 0x00808080);
    source.at(0, 0) = 0;
    source.at(1, 0) = 0x00000001;
    source.at(2, 0) = 0x00FFFFFF;
    source.at(3, 0) = 0xFF000000;  // only the unused top byte set: not black
    overlayKeyed(source.area(4, 1), destination.area(4, 1), 0);
    EXPECT_EQ(destination.at(0, 0), 0x00808080u);
    EXPECT_EQ(destination.at(1, 0), 0x00000001u);
    EXPECT_EQ(destination.at(2, 0), 0x00FFFFFFu);
    EXPECT_EQ(destination.at(3, 0), 0xFF000000u);

    TestBuffer faded(4, 1, 0x00808080);
    overlayKeyed(source.area(4, 1), faded.area(4, 1), 50);
    EXPECT_EQ(faded.at(0, 0), 0x00808080u);
    EXPECT_EQ(faded.at(2, 0), mixPixels(0x00FFFFFF, 0x00808080, 50));

    TestBuffer untouched(4, 1, 0x00808080);
    overlayKeyed(source.area(4, 1), untouched.area(4, 1), 100);
    EXPECT_EQ(untouched.pixels, std::vector<uint32_t>(4, 0x00808080));
}

TEST(PixelPasses, StayInsideTheBarAreaAndTheBuffer) {
    // Bar area 5 x 2 of a 7-wide, 3-row buffer; a bar wider than the buffer is cut at its edge.
    const uint32_t canary = 0x00ABCDEF;
    for (int32_t barColumns : {5, 100000}) {
        TestBuffer source(7, 3, 0x00FFFFFF);
        TestBuffer mixed(7, 3, canary), keyed(7, 3, canary), faded(7, 3, canary);
        int32_t inside = barColumns < 7 ? barColumns : 7;
        mixBuffers(source.area(barColumns, 2), mixed.area(barColumns, 2), 30);
        overlayKeyed(source.area(barColumns, 2), keyed.area(barColumns, 2), 0);
        fadeTowardsBackground(faded.area(barColumns, 2), 0x000000, 0);
        for (int32_t row = 0; row < 3; ++row) {
            for (int32_t column = 0; column < 7; ++column) {
                bool bar = row < 2 && column < inside;
                EXPECT_EQ(mixed.at(column, row), bar ? mixPixels(0x00FFFFFF, canary, 30) : canary);
                EXPECT_EQ(keyed.at(column, row), bar ? 0x00FFFFFFu : canary);
                EXPECT_EQ(faded.at(column, row), bar ? 0u : canary);
            }
        }
    }
    // Empty areas (a bar of height or width 0, no pixel memory) touch nothing.
    TestBuffer buffer(4, 1, canary);
    fadeTowardsBackground(buffer.area(0, 1), 0, 0);
    fadeTowardsBackground(buffer.area(4, 0), 0, 0);
    fadeTowardsBackground({nullptr, 4, 4, 1}, 0, 0);
    mixRowWithColour(buffer.area(4, 1), 1, 0, 0);  // a row outside the area
    EXPECT_EQ(buffer.pixels, std::vector<uint32_t>(4, canary));
}

TEST(PixelPasses, BufferMixAndBackgroundFadeFollowTheirPercentages) {
    TestBuffer oldLine(3, 1, 0x00FF0000), newLine(3, 1, 0x000000FF);
    mixBuffers(oldLine.area(3, 1), newLine.area(3, 1), 0);  // 0: all old line
    EXPECT_EQ(newLine.at(1, 0), 0x00FF0000u);
    TestBuffer newer(3, 1, 0x000000FF);
    mixBuffers(oldLine.area(3, 1), newer.area(3, 1), 75);
    EXPECT_EQ(newer.at(2, 0), 0x003F00BFu);  // 25 % of 255 is 63.75, 75 % is 191.25

    TestBuffer picture(3, 1, 0x00FFFFFF);
    fadeTowardsBackground(picture.area(3, 1), 0x0000FF, 40);  // towards red: 40 % picture
    EXPECT_EQ(picture.at(0, 0), 0x00FF6565u);                // 0.4f * 255 = 101.99..., truncated
    fadeTowardsBackground(picture.area(3, 1), 0x0000FF, 100);
    EXPECT_EQ(picture.at(0, 0), 0x00FF6565u);
}
