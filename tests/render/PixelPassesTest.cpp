#include "render/PixelPasses.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/Effects.h"

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
        TestBuffer mixed(7, 3, canary), keyed(7, 3, canary), faded(7, 3, canary), copied(7, 3, canary),
            filled(7, 3, canary), premultiplied(7, 3, canary);
        int32_t inside = barColumns < 7 ? barColumns : 7;
        mixBuffers(source.area(barColumns, 2), mixed.area(barColumns, 2), 30);
        overlayKeyed(source.area(barColumns, 2), keyed.area(barColumns, 2), 0);
        fadeTowardsBackground(faded.area(barColumns, 2), 0x000000, 0);
        copyPixels(source.area(barColumns, 2), copied.area(barColumns, 2));
        fillPixels(filled.area(barColumns, 2), 0x00123456);
        premultiplyForLayeredWindow(source.area(barColumns, 2), premultiplied.area(barColumns, 2), 0, 128);
        for (int32_t row = 0; row < 3; ++row) {
            for (int32_t column = 0; column < 7; ++column) {
                bool bar = row < 2 && column < inside;
                EXPECT_EQ(mixed.at(column, row), bar ? mixPixels(0x00FFFFFF, canary, 30) : canary);
                EXPECT_EQ(keyed.at(column, row), bar ? 0x00FFFFFFu : canary);
                EXPECT_EQ(faded.at(column, row), bar ? 0u : canary);
                EXPECT_EQ(copied.at(column, row), bar ? 0x00FFFFFFu : canary);
                EXPECT_EQ(filled.at(column, row), bar ? 0x00123456u : canary);
                EXPECT_EQ(premultiplied.at(column, row), bar ? 0xFFFFFFFFu : canary);
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
    EXPECT_EQ(picture.at(0, 0), 0x00FF6565u);                 // 0.4f * 255 = 101.99..., truncated
    fadeTowardsBackground(picture.area(3, 1), 0x0000FF, 100);
    EXPECT_EQ(picture.at(0, 0), 0x00FF6565u);
}

TEST(PremultiplyForLayeredWindow, TheBackgroundTakesItsOpacityAndEverythingElseIsOpaque) {
    // Background ColorBACK 0x404040 at about half opacity: 0x40 * 128 / 255 = 32.1, so 0x20.
    TestBuffer frame(5, 1, 0);
    frame.at(0, 0) = 0x00404040;  // background
    frame.at(1, 0) = 0x7F404040;  // background with a stray top byte: still background
    frame.at(2, 0) = 0x00FFFFFF;  // a glyph
    frame.at(3, 0) = 0x00000000;  // black outline
    frame.at(4, 0) = 0x00404041;  // a shade off the background: text
    premultiplyForLayeredWindow(frame.area(5, 1), frame.area(5, 1), 0x404040, 128);  // in place
    EXPECT_EQ(frame.pixels, (std::vector<uint32_t>{0x80202020, 0x80202020, 0xFFFFFFFF, 0xFF000000, 0xFF404041}));

    // Opacities at the ends and past them; a red colour reference is a red pixel.
    TestBuffer red(2, 1, 0x00FF0000), out(2, 1, 0);
    red.at(1, 0) = 0x000000FF;  // blue: not the background
    premultiplyForLayeredWindow(red.area(2, 1), out.area(2, 1), 0x0000FF, 0);
    EXPECT_EQ(out.pixels, (std::vector<uint32_t>{0x00000000, 0xFF0000FF})) << "fully transparent";
    premultiplyForLayeredWindow(red.area(2, 1), out.area(2, 1), 0x0000FF, -5);
    EXPECT_EQ(out.at(0, 0), 0x00000000u);
    premultiplyForLayeredWindow(red.area(2, 1), out.area(2, 1), 0x0000FF, 300);
    EXPECT_EQ(out.at(0, 0), 0xFFFF0000u) << "opaque: the colour as it is";
    premultiplyForLayeredWindow(red.area(2, 1), out.area(2, 1), 0x0000FF, 191);
    EXPECT_EQ(out.at(0, 0), 0xBFBF0000u) << "255 * 191 / 255";
}

namespace {

// Runs a pass once with each code on copies of `before` and says where they differ.
template <typename Pass>
::testing::AssertionResult sameWithEachCode(const std::vector<uint32_t>& before, Pass pass) {
    std::vector<uint32_t> scalar = before, sse2 = before;
    pass(scalar, PixelCode::Scalar);
    pass(sse2, PixelCode::Sse2);
    for (size_t i = 0; i < before.size(); ++i)
        if (scalar[i] != sse2[i])
            return ::testing::AssertionFailure() << "pixel " << i << std::hex << ": scalar " << scalar[i] << ", SSE2 "
                                                 << sse2[i] << ", before " << before[i];
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(PixelCode, Sse2EqualsThePlainCodeForEveryBytePairAndOnRandomBuffers) {
    if (!canRunPixelCode(PixelCode::Sse2)) GTEST_SKIP() << "no SSE2 on this processor";

    // Every pair of source and destination bytes in every byte lane (grey pixels), once with the
    // top bytes clear, so that black is the key, and once with them set; an odd row that starts one
    // pixel into its memory, so that the last pixels and unaligned ones are covered.
    const int32_t pairs = 65536, columns = pairs + 3;
    for (uint32_t top : {0x00000000u, 0x5A000000u}) {
        std::vector<uint32_t> source(columns + 1), destination(columns + 1);
        for (int32_t i = 0; i < columns; ++i) {
            source[i + 1] = grey(static_cast<uint32_t>(i % pairs) >> 8) | top;
            destination[i + 1] = grey(static_cast<uint32_t>(i) & 0xFF) | (top >> 1);
        }
        auto area = [&](std::vector<uint32_t>& pixels) { return PixelArea{pixels.data() + 1, columns, columns, 1}; };
        for (int32_t p = -1; p <= 101; ++p) {
            ASSERT_TRUE(sameWithEachCode(
                destination,
                [&](std::vector<uint32_t>& d, PixelCode code) { mixBuffers(area(source), area(d), p, code); }))
                << "mix at " << p;
            ASSERT_TRUE(sameWithEachCode(
                destination,
                [&](std::vector<uint32_t>& d, PixelCode code) { overlayKeyed(area(source), area(d), p, code); }))
                << "keyed overlay at " << p;
        }
    }
    // Every colour byte against every pixel byte, for the fades and the effects.
    std::vector<uint32_t> pixels(256 + 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = grey(i & 0xFF);
    for (int32_t p = -1; p <= 101; ++p)
        for (int32_t colour = 0; colour < 256; ++colour)
            ASSERT_TRUE(sameWithEachCode(
                pixels,
                [&](std::vector<uint32_t>& d, PixelCode code) {
                    fadeTowardsBackground({d.data(), 259, 259, 1}, static_cast<int32_t>(grey(colour)), p, code);
                }))
                << "fade towards " << colour << " at " << p;
    // Every background byte at every opacity, beside pixels that are not the background.
    for (int32_t opacity = 0; opacity < 256; ++opacity)
        for (uint32_t background = 0; background < 256; ++background) {
            std::vector<uint32_t> frame = {
                grey(background), grey(background ^ 1), grey(background) | 0xFF000000, grey(background), 0,
                grey(background)};
            ASSERT_TRUE(sameWithEachCode(frame,
                                         [&](std::vector<uint32_t>& d, PixelCode code) {
                                             premultiplyForLayeredWindow({d.data(), 6, 6, 1}, {d.data(), 6, 6, 1},
                                                                         static_cast<int32_t>(grey(background)),
                                                                         opacity, code);
                                         }))
                << "background " << background << " at opacity " << opacity;
        }

    // Random pictures, a third of them black, in areas of every shape: narrower and wider than
    // their memory rows, no rows, unaligned starts.
    std::mt19937 random(25);
    auto pick = [&](int32_t low, int32_t high) { return std::uniform_int_distribution<int32_t>(low, high)(random); };
    for (int round = 0; round < 3000; ++round) {
        int32_t stride = pick(1, 40), rows = pick(0, 6), width = pick(-2, 45), start = pick(0, 3);
        std::vector<uint32_t> one(static_cast<size_t>(stride) * 7 + 4), two(one.size());
        for (std::vector<uint32_t>* v : {&one, &two})
            for (uint32_t& pixel : *v) pixel = pick(0, 2) == 0 ? 0 : static_cast<uint32_t>(random());
        auto area = [&](std::vector<uint32_t>& pixels) {
            return PixelArea{pixels.data() + start, stride, width, rows};
        };
        int32_t p = pick(-10, 110), colour = pick(0, 0xFFFFFF), effects = pick(-1, 9);
        ASSERT_TRUE(sameWithEachCode(
            two,
            [&](std::vector<uint32_t>& d, PixelCode code) {
                mixBuffers(area(one), area(d), p, code);
                overlayKeyed(area(one), area(d), p / 2, code);
                fadeTowardsBackground(area(d), colour, p, code);
                applyEffects(area(d), effects, colour, code);
                fillPixels({d.data() + start, stride, width, rows / 2}, one[0], code);
                premultiplyForLayeredWindow(area(d), area(d),
                                            static_cast<int32_t>(colourToPixel(static_cast<int32_t>(one[0]))), p, code);
            }))
            << "round " << round;
    }
}
