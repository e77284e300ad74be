// The bar of two rows through the real plug-in: each row drawn as a bar of one row would draw its
// line, the rows taking turns with the lines, and a translation under the sung line.
#include <algorithm>
#include <cstring>

#include "PluginRun.h"

namespace {

constexpr int kRowHeight = 18, kBarWidth = 245;

// Rows [y, y + rows) of a picture.
Image rowsOf(const Image& image, int y, int rows) {
    Image part(image.width, rows);
    for (int r = 0; r < rows; ++r)
        for (int x = 0; x < image.width; ++x) part.at(x, r) = image.at(x, y + r);
    return part;
}
Image topRow(const Image& bar) { return rowsOf(bar, 0, kRowHeight); }
Image bottomRow(const Image& bar) { return rowsOf(bar, kRowHeight, kRowHeight); }

// The columns holding anything but the black background.
Span drawnColumns(const Image& image) {
    Span s;
    for (int x = 0; x < image.width; ++x)
        for (int y = 0; y < image.height; ++y)
            if (image.at(x, y) != kBlackPixel) {
                if (s.first < 0) s.first = x;
                s.last = x;
                break;
            }
    return s;
}

// A centred text of `width` pixels with its outline, in a row.
::testing::AssertionResult holdsCentredText(const Image& row, int width) {
    Span drawn = drawnColumns(row);
    int expectedFirst = (kBarWidth - width - 6) / 2 + 2;
    if (drawn.first >= expectedFirst - 1 && drawn.first <= expectedFirst + 1 && drawn.last - drawn.first >= width &&
        drawn.last - drawn.first <= width + 5)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "drawn from column " << drawn.first << " to " << drawn.last << ", a text "
                                         << width << " wide would start at " << expectedFirst;
}

class TwoRows : public PluginRun {
protected:
    // Plays a song with these lyrics (name: the lyrics file's, beside the song) and returns the
    // bar at each of the moments.
    std::vector<Image> barsAt(const std::string& name, const std::string& lyrics, const std::vector<int32_t>& moments) {
        writeData(name, lyrics);
        addSong(dataPath("song.mp3"));
        EXPECT_EQ(player.init(), 0);
        hold(moments.front());
        EXPECT_TRUE(player.waitTicks(kStatusTicks + 2, 5000));
        std::vector<Image> bars;
        for (int32_t ms : moments) bars.push_back(barAt(ms));
        return bars;
    }
};

}  // namespace

TEST_F(TwoRows, LinesTakeTurnsBetweenTheRowsAndTheRowNotSungHoldsTheNextLineStill) {
    // Three karaoke lines: 10-12 s, 12.5-14.5 s, 15-17 s.
    const std::string lyrics =
        "[00:10:00]ABCD[00:11:00]EFGH[00:12:00]\r\n"
        "[00:12:50]IJKL[00:13:50]MNOP[00:14:50]\r\n"
        "[00:15:00]QRST[00:16:00]UVWX[00:17:00]\r\n";
    const std::vector<int32_t> moments = {10400, 11600, 13100, 14000};
    std::vector<Image> one = barsAt("song.kra", lyrics, moments);
    RECT oneRow = barRect();

    restartPlayer();
    writeIni("Rows", 2);
    writeIni("SecondRow", 0);
    std::vector<Image> two = barsAt("song.kra", lyrics, moments);
    RECT twoRows = barRect();
    EXPECT_EQ(twoRows.bottom - twoRows.top, 2 * (oneRow.bottom - oneRow.top)) << "the bar is twice as tall";
    EXPECT_EQ(twoRows.right - twoRows.left, oneRow.right - oneRow.left);
    ASSERT_EQ(two[0].height, 2 * kRowHeight);

    // While line 1 is sung the top row is the one-row bar, its wipe moving on; the bottom row
    // holds line 2 unsung and still.
    for (int k : {0, 1}) {
        SCOPED_TRACE("moment " + std::to_string(moments[k]));
        EXPECT_EQ(topRow(two[k]).pixels, one[k].pixels);
        EXPECT_EQ(countPixels(bottomRow(two[k]), kSungPixel), 0);
        EXPECT_EQ(countPixels(bottomRow(two[k]), kWipeLinePixel), 0);
        EXPECT_GT(countPixels(bottomRow(two[k]), kUnsungPixel), 20);
    }
    EXPECT_GT(columnsOf(topRow(two[1]), kSungPixel).last, columnsOf(topRow(two[0]), kSungPixel).last + 10);
    EXPECT_EQ(bottomRow(two[0]).pixels, bottomRow(two[1]).pixels);
    // That line 2 is the line the one-row bar shows next, before its wipe begins.
    EXPECT_EQ(drawnColumns(bottomRow(two[0])).first, drawnColumns(one[2]).first);

    // While line 2 is sung the bottom row is the one-row bar, its wipe moving on; the top row,
    // which held line 1, holds line 3 unsung and still.
    for (int k : {2, 3}) {
        SCOPED_TRACE("moment " + std::to_string(moments[k]));
        EXPECT_EQ(bottomRow(two[k]).pixels, one[k].pixels);
        EXPECT_EQ(countPixels(topRow(two[k]), kSungPixel), 0);
        EXPECT_GT(countPixels(topRow(two[k]), kUnsungPixel), 20);
    }
    EXPECT_GT(columnsOf(bottomRow(two[3]), kSungPixel).last, columnsOf(bottomRow(two[2]), kSungPixel).last + 10);
    EXPECT_EQ(topRow(two[2]).pixels, topRow(two[3]).pixels);
    EXPECT_NE(topRow(two[2]).pixels, topRow(two[0]).pixels) << "line 3, not line 1";
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(TwoRows, UnderTheSungLineItsTranslationAtItsSizeOrElseTheNextLine) {
    writeIni("Rows", 2);
    writeIni("SecondRow", 1);
    writeIni("SecondRowSize", 5000);  // out of range: the largest size, the row's own
    const std::string lyrics =
        "[00:10.00]First line\r\n[00:10.00]Erste Zeile\r\n"
        "[00:13.00]Second line\r\n[00:13.00]Zweite Zeile hier\r\n"
        "[00:16.00]Third\r\n[00:19.00]Fourth and last\r\n";
    std::vector<Image> bars = barsAt("song.lrc", lyrics, {11000, 14500, 17500});
    const char* under[] = {"Erste Zeile", "Zweite Zeile hier", "Fourth and last"};
    for (size_t k = 0; k < bars.size(); ++k) {
        SCOPED_TRACE(under[k]);
        Image bottom = bottomRow(bars[k]);
        EXPECT_TRUE(holdsCentredText(bottom, textExtent(under[k], strlen(under[k]))));
        EXPECT_EQ(countPixels(bottom, kSungPixel), 0) << "never wiped";
        EXPECT_GT(countPixels(bottom, kUnsungPixel), 20);
    }
    EXPECT_TRUE(holdsCentredText(topRow(bars[0]), textExtent("First line", 10)));

    // At a smaller size the translation is narrower and lies in the middle of its row; a next
    // line keeps its full size.
    restartPlayer();
    writeIni("Rows", 2);
    writeIni("SecondRow", 1);
    writeIni("SecondRowSize", 60);
    bars = barsAt("song.lrc", lyrics, {11000, 17500});
    Image small = bottomRow(bars[0]);
    EXPECT_TRUE(holdsCentredText(small, textExtent("Erste Zeile", 11, kRowHeight * 60 / 100)));
    int topmost = kRowHeight, lowest = -1;
    for (int y = 0; y < kRowHeight; ++y)
        for (int x = 0; x < kBarWidth; ++x)
            if (small.at(x, y) != kBlackPixel) {
                topmost = std::min(topmost, y);
                lowest = std::max(lowest, y);
            }
    EXPECT_GE(topmost, 2);
    EXPECT_LE(lowest, kRowHeight - 2);
    EXPECT_TRUE(holdsCentredText(bottomRow(bars[1]), textExtent("Fourth and last", 15)));
}
