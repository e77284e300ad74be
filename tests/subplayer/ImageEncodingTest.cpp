#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "subplayer/Checksums.h"
#include "subplayer/ColorQuantizer.h"
#include "subplayer/ContactSheet.h"
#include "subplayer/GifWriter.h"
#include "subplayer/PngWriter.h"

namespace {

uint32_t bigEndian(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Reads back what encodePng writes (RGB, stored deflate blocks), checking every checksum.
Image decodeStoredPng(const std::vector<uint8_t>& png) {
    Image image;
    std::vector<uint8_t> z;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = bigEndian(&png[at]);
        std::string type(png.begin() + at + 4, png.begin() + at + 8);
        const uint8_t* data = &png[at + 8];
        EXPECT_EQ(bigEndian(data + length), crc32(&png[at + 4], length + 4)) << type;
        if (type == "IHDR") image = Image(bigEndian(data), bigEndian(data + 4));
        if (type == "IDAT") z.insert(z.end(), data, data + length);
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    std::vector<uint8_t> raw;
    size_t p = 2;
    for (bool last = false; !last;) {
        last = z[p] & 1;
        size_t n = z[p + 1] | z[p + 2] << 8;
        EXPECT_EQ(n ^ 0xFFFF, size_t(z[p + 3] | z[p + 4] << 8));
        raw.insert(raw.end(), z.begin() + p + 5, z.begin() + p + 5 + n);
        p += 5 + n;
    }
    EXPECT_EQ(bigEndian(&z[p]), adler32(raw.data(), raw.size()));
    size_t stride = 1 + 3 * size_t(image.width);
    EXPECT_EQ(raw.size(), stride * image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* px = &raw[y * stride + 1 + 3 * x];
            image.at(x, y) = uint32_t(px[0]) << 16 | px[1] << 8 | px[2];
        }
    return image;
}

// A GIF LZW decoder written from the format's description: codes grow when the next free code
// reaches the current width's limit, the table stops at 4095, a clear code starts over.
std::vector<uint8_t> lzwDecode(const std::vector<uint8_t>& codes, int minCodeSize) {
    const int clear = 1 << minCodeSize, end = clear + 1;
    std::vector<std::vector<uint8_t>> table;
    auto reset = [&] {
        table.assign(clear + 2, {});
        for (int i = 0; i < clear; ++i) table[i] = {uint8_t(i)};
    };
    reset();
    int size = minCodeSize + 1, previous = -1;
    size_t bit = 0;
    std::vector<uint8_t> out;
    for (;;) {
        int code = 0;
        for (int i = 0; i < size; ++i, ++bit) {
            if (bit / 8 >= codes.size()) return out;
            code |= ((codes[bit / 8] >> (bit % 8)) & 1) << i;
        }
        if (code == clear) {
            reset();
            size = minCodeSize + 1;
            previous = -1;
            continue;
        }
        if (code == end) return out;
        std::vector<uint8_t> entry;
        if (code < int(table.size()))
            entry = table[code];
        else if (code == int(table.size()) && previous >= 0) {
            entry = table[previous];
            entry.push_back(table[previous][0]);
        } else {
            ADD_FAILURE() << "code " << code << " not in the table";
            return out;
        }
        out.insert(out.end(), entry.begin(), entry.end());
        if (previous >= 0 && table.size() < 4096) {
            std::vector<uint8_t> added = table[previous];
            added.push_back(entry[0]);
            table.push_back(added);
            if (table.size() == (size_t(1) << size) && size < 12) ++size;
        }
        previous = code;
    }
}

// The frames of a GIF as written by encodeGif (each at the top-left corner), in colours.
std::vector<Image> decodeGif(const std::vector<uint8_t>& gif, std::vector<int>& delays) {
    std::vector<Image> frames;
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    size_t at = 13;
    std::vector<uint32_t> global, table;
    auto readTable = [&](int bits) {
        std::vector<uint32_t> colors;
        for (int i = 0; i < (1 << bits); ++i, at += 3) colors.push_back(gif[at] << 16 | gif[at + 1] << 8 | gif[at + 2]);
        return colors;
    };
    if (gif[10] & 0x80) global = readTable((gif[10] & 7) + 1);
    while (at < gif.size() && gif[at] != 0x3B) {
        if (gif[at] == 0x21) {
            if (gif[at + 1] == 0xF9) delays.push_back(gif[at + 4] | gif[at + 5] << 8);
            at += 2;
            while (gif[at]) at += gif[at] + 1;
            ++at;
            continue;
        }
        EXPECT_EQ(gif[at], 0x2C);
        int width = gif[at + 5] | gif[at + 6] << 8, height = gif[at + 7] | gif[at + 8] << 8;
        uint8_t flags = gif[at + 9];
        at += 10;
        table = flags & 0x80 ? readTable((flags & 7) + 1) : global;
        int minCodeSize = gif[at++];
        std::vector<uint8_t> codes;
        while (gif[at]) {
            codes.insert(codes.end(), gif.begin() + at + 1, gif.begin() + at + 1 + gif[at]);
            at += gif[at] + 1;
        }
        ++at;
        std::vector<uint8_t> indices = lzwDecode(codes, minCodeSize);
        EXPECT_EQ(indices.size(), size_t(width) * height);
        Image frame(width, height);
        for (size_t i = 0; i < frame.pixels.size() && i < indices.size(); ++i) frame.pixels[i] = table.at(indices[i]);
        frames.push_back(frame);
    }
    EXPECT_EQ(at + 1, gif.size());
    return frames;
}

Image noise(int width, int height, uint32_t mask, unsigned seed) {
    std::mt19937 random(seed);
    Image image(width, height);
    for (uint32_t& p : image.pixels) p = random() & mask;
    return image;
}

}  // namespace

TEST(Checksums, KnownValuesAndRunningContinuation) {
    const uint8_t digits[] = "123456789";
    EXPECT_EQ(crc32(digits, 9), 0xCBF43926u);
    EXPECT_EQ(crc32(digits + 4, 5, crc32(digits, 4)), 0xCBF43926u);
    const uint8_t word[] = "Wikipedia";
    EXPECT_EQ(adler32(word, 9), 0x11E60398u);
    std::vector<uint8_t> large(100000, 0xFF);  // past the 5552-byte reduction blocks
    uint32_t a = 1, b = 0;
    for (uint8_t v : large) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(adler32(large.data(), large.size()), b << 16 | a);
}

TEST(PngWriter, RoundTripsPixelsOverSeveralStoredBlocks) {
    Image small = noise(3, 2, 0xFFFFFF, 1);
    Image large = noise(245, 100, 0xFFFFFF, 2);  // 73,600 bytes of rows: two stored blocks
    for (const Image* image : {&small, &large}) {
        std::vector<uint8_t> png;
        ASSERT_EQ(encodePng(*image, png), 1);
        Image back = decodeStoredPng(png);
        EXPECT_EQ(back.width, image->width);
        EXPECT_EQ(back.pixels, image->pixels);
    }
    std::vector<uint8_t> png;
    EXPECT_EQ(encodePng(Image(), png), 0);
}

TEST(GifWriter, LzwRoundTripsAcrossTableResetsForEveryCodeSize) {
    for (int minCodeSize = 2; minCodeSize <= 8; ++minCodeSize) {
        std::mt19937 random(minCodeSize);
        std::vector<uint8_t> indices(60000);
        // Runs and noise, so that the table both fills (clear codes) and finds long strings.
        for (size_t i = 0; i < indices.size(); ++i)
            indices[i] =
                (i / 700) % 2 ? uint8_t(random() % (1u << minCodeSize)) : uint8_t((i / 50) % (1u << minCodeSize));
        EXPECT_EQ(lzwDecode(gifLzwEncode(indices, minCodeSize), minCodeSize), indices) << minCodeSize;
    }
    EXPECT_EQ(lzwDecode(gifLzwEncode({}, 2), 2), std::vector<uint8_t>{});
    EXPECT_EQ(lzwDecode(gifLzwEncode({3}, 2), 2), std::vector<uint8_t>{3});
}

TEST(GifWriter, ExactColoursWithGlobalOrPerFramePalettes) {
    // Three frames sharing 200 colours: one global table, every pixel exact.
    std::vector<Image> few;
    for (unsigned s = 0; s < 3; ++s) {
        few.push_back(noise(40, 10, 0xFF, s));
        for (uint32_t& p : few.back().pixels) p = (p % 200) * 0x010101;
    }
    // Two frames of 300 colours each, far apart: a table per frame.
    std::vector<Image> many = {noise(30, 20, 0xFFFFFF, 7), noise(30, 20, 0xFFFFFF, 8)};
    for (uint32_t& p : many[1].pixels) p = (p % 120) * 0x000101;  // 120 colours: exact in its own table
    for (auto* set : {&few, &many}) {
        std::vector<GifFrame> frames;
        for (const Image& f : *set) frames.push_back({&f, 4});
        std::vector<uint8_t> gif;
        ASSERT_EQ(encodeGif(frames, gif), 1);
        EXPECT_EQ(bool(gif[10] & 0x80), set == &few);
        std::vector<int> delays;
        std::vector<Image> back = decodeGif(gif, delays);
        ASSERT_EQ(back.size(), set->size());
        EXPECT_EQ(delays, std::vector<int>(set->size(), 4));
        for (size_t i = 0; i < back.size(); ++i) {
            if (set == &few || i == 1) {
                EXPECT_EQ(back[i].pixels, (*set)[i].pixels) << i;
            }
        }
    }
    // A frame of another size (the bar resized meanwhile) keeps its own size on the larger picture.
    Image other(50, 3, 0x00FF00);
    std::vector<uint8_t> gif;
    ASSERT_EQ(encodeGif({{&few[0], 1}, {&other, 1}}, gif), 1);
    EXPECT_EQ(gif[6] | gif[7] << 8, 50);
    EXPECT_EQ(gif[8] | gif[9] << 8, 10);
    std::vector<int> delays;
    std::vector<Image> back = decodeGif(gif, delays);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].pixels, other.pixels);
    EXPECT_EQ(encodeGif({}, gif), 0);
    Image empty;
    EXPECT_EQ(encodeGif({{&empty, 1}}, gif), 0);
}

TEST(GifWriter, MedianCutKeepsColoursClose) {
    Image image = noise(64, 64, 0xFFFFFF, 3);
    std::vector<uint32_t> palette = reducedPalette(image, 256);
    EXPECT_EQ(palette.size(), 256u);
    std::vector<uint8_t> indices = mapToPalette(image, palette);
    double error = 0;
    for (size_t i = 0; i < indices.size(); ++i)
        for (int shift : {0, 8, 16})
            error += std::abs(int((image.pixels[i] >> shift) & 0xFF) - int((palette[indices[i]] >> shift) & 0xFF));
    // Random colours over the whole cube: 256 boxes leave about 20 levels per channel on average.
    EXPECT_LT(error / (indices.size() * 3), 24.0);
    // One colour in the image: one colour in the palette, however many pixels.
    EXPECT_EQ(reducedPalette(Image(10, 10, 0x123456), 256), std::vector<uint32_t>{0x123456});
}

TEST(GifWriter, DelaysFollowTheStampsWithoutDrift) {
    // 40 ms apart: 4 hundredths each; the last frame repeats the delay before it.
    EXPECT_EQ(gifDelaysFromStamps({0, 40, 80}), (std::vector<int>{4, 4, 4}));
    // 25 ms apart rounds along the running time (3, 2, 3, 2) instead of drifting by 3s or 2s.
    EXPECT_EQ(gifDelaysFromStamps({0, 25, 50, 75, 100}), (std::vector<int>{3, 2, 3, 2, 2}));
    EXPECT_EQ(gifDelaysFromStamps({1000}), std::vector<int>{10});
    EXPECT_EQ(gifDelaysFromStamps({5, 5, 5}), (std::vector<int>{2, 2, 2}));
}

TEST(ContactSheet, LaysFramesOutInRowsWithLabels) {
    Image a(10, 4, 0xFF0000), b(6, 2, 0x00FF00), c(10, 4, 0x0000FF);
    Image sheet = composeContactSheet({{&a, "1"}, {&b, "23"}, {&c, ""}}, 2);
    // Cells of 10 x (4 + 9 label rows), gaps of 4: two columns, two rows.
    EXPECT_EQ(sheet.width, 4 + 2 * (10 + 4));
    EXPECT_EQ(sheet.height, 4 + 2 * (13 + 4));
    EXPECT_EQ(sheet.at(4, 4), 0xFF0000u);
    EXPECT_EQ(sheet.at(13, 7), 0xFF0000u);
    EXPECT_EQ(sheet.at(18, 4), 0x00FF00u);
    EXPECT_EQ(sheet.at(18, 6), 0x303030u);  // below the smaller frame: background
    EXPECT_EQ(sheet.at(4, 21), 0x0000FFu);
    // The label "1" under the first frame: its middle column is lit on every row of the glyph.
    for (int y = 0; y < 5; ++y) EXPECT_EQ(sheet.at(5, 4 + 4 + 2 + y), 0xE8E8E8u) << y;
    EXPECT_EQ(composeContactSheet({}, 3).width, 0);
}

TEST(ContactSheet, PicksFramesEvenlyWithBothEnds) {
    EXPECT_EQ(pickEvenly(10, 4), (std::vector<size_t>{0, 3, 6, 9}));
    EXPECT_EQ(pickEvenly(3, 8), (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(pickEvenly(5, 1), std::vector<size_t>{0});
    EXPECT_TRUE(pickEvenly(0, 3).empty());
}
