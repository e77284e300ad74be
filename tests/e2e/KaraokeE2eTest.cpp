// The karaoke display through the real plug-in: songs with lyrics files beside them, the player's
// clock held at known positions, and the bar's pixels as they reached the screen.
#include <algorithm>

#include "PluginRun.h"

namespace {

// Three stretches of four letters, sung from 10.00 s, 11.00 s and 13.00 s to 14.00 s.
const char kKaraokeLine[] = "[00:10:00]ABCD[00:11:00]EFGH[00:13:00]IJKL[00:14:00]\r\n";
const std::string kKaraokeText = "ABCDEFGHIJKL";

struct Mark {
    int offset;          // bytes into the text
    int32_t storedTime;  // as written in the lyrics file
};
const std::vector<Mark> kKaraokeMarks = {{0, 1000}, {4, 1100}, {8, 1300}, {12, 1400}};

// Where the wipe stands in a line at positionMs, in pixels of the sung text: straight runs
// between consecutive marks, from the first mark's time on.
int wipeAt(const std::string& text, const std::vector<Mark>& marks, int32_t positionMs) {
    int32_t t = positionMs / 10;
    size_t k = 1;
    while (k + 1 < marks.size() && playerTime(marks[k].storedTime) < t) ++k;
    int32_t ta = playerTime(marks[k - 1].storedTime), tb = playerTime(marks[k].storedTime);
    int xa = textExtent(text, marks[k - 1].offset), xb = textExtent(text, marks[k].offset);
    return xa + (t - ta) * (xb - xa) / (tb - ta);
}

// The pixel mixing of the fades, channel by channel, at a percentage strictly between 0 and 100.
uint32_t mixChannels(uint32_t from, uint32_t to, int percentage) {
    const double x = percentage * static_cast<double>(0.01f);
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        double mixed = (1 - x) * (from >> shift & 0xFF) + x * (to >> shift & 0xFF);
        out |= static_cast<uint32_t>(mixed) << shift;
    }
    return out;
}

// Whether every pixel of mixed is `from` mixed towards `to` by percentage.
::testing::AssertionResult isMix(const Image& mixed, const Image& from, const Image& to, int percentage) {
    for (size_t i = 0; i < mixed.pixels.size(); ++i) {
        uint32_t expected = mixChannels(from.pixels[i], to.pixels[i], percentage);
        if (mixed.pixels[i] != expected)
            return ::testing::AssertionFailure()
                   << "pixel " << i << ": " << std::hex << mixed.pixels[i] << " instead of " << expected;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult isPlain(const Image& image, uint32_t pixel) {
    int n = countPixels(image, pixel);
    if (n == static_cast<int>(image.pixels.size())) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << (image.pixels.size() - n) << " pixels differ from " << std::hex << pixel;
}

// Which columns of the bar hold anything but the black background.
std::vector<bool> drawnMask(const Image& image) {
    std::vector<bool> mask(image.pixels.size());
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = image.pixels[i] != kBlackPixel;
    return mask;
}

// The bar at a moment of a line drawn from column x0 (width pixels of text) whose wipe front
// stands at column front: sung glyphs left of it, the wipe line right at it, unsung glyphs after.
void expectWipeFront(const Image& bar, int x0, int width, int front) {
    Span sung = columnsOf(bar, kSungPixel), line = columnsOf(bar, kWipeLinePixel),
         unsung = columnsOf(bar, kUnsungPixel);
    ASSERT_GE(sung.first, x0);
    EXPECT_LE(sung.last, front);
    ASSERT_GE(line.first, 0) << "the wipe line shows";
    EXPECT_GT(line.first, front);
    EXPECT_LE(line.last, front + 4);  // a band four columns wide
    ASSERT_GE(unsung.first, 0);
    EXPECT_GE(unsung.first, front + 5);
    EXPECT_LE(unsung.last, x0 + width + 6);
}

class Karaoke : public PluginRun {
protected:
    // Starts the plug-in on a song whose lyrics are `lyrics`, playing from positionMs, and
    // returns the bar once the plug-in has learnt that the song plays.
    Image startAt(const std::string& lyrics, int32_t positionMs) {
        addSongWithLyrics("song", lyrics);
        EXPECT_EQ(player.init(), 0);
        return barAt(positionMs, kStatusTicks + 2);
    }
};

}  // namespace

TEST_F(Karaoke, SungTextLiesLeftOfTheWipeFrontAndTheWipeLineRightAtIt) {
    Image bar = startAt(kKaraokeLine, 10500);
    const int width = textExtent(kKaraokeText, kKaraokeText.size());
    const int x0 = (245 - width - 6) / 2;  // the line is centred
    int previous = -1;
    for (int32_t positionMs : {10500, 12000, 13750}) {
        if (positionMs != 10500) bar = barAt(positionMs);
        const int front = x0 + wipeAt(kKaraokeText, kKaraokeMarks, positionMs);
        EXPECT_GT(front, previous) << "the wipe moves on";
        previous = front;
        SCOPED_TRACE("at " + std::to_string(positionMs) + " ms the wipe stands at column " + std::to_string(front));
        expectWipeFront(bar, x0, width, front);
    }
    // Past the last mark the whole line is sung, without a wipe line.
    bar = barAt(14100);
    EXPECT_EQ(columnsOf(bar, kUnsungPixel).first, -1);
    EXPECT_EQ(columnsOf(bar, kWipeLinePixel).first, -1);
    EXPECT_GT(countPixels(bar, kSungPixel), 20);
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(Karaoke, TheWipeLineNeedsRedLineAndKaraokeColouring) {
    // A karaoke line, then a line of one stretch, which is no karaoke line.
    const std::string lyrics = std::string(kKaraokeLine) + "[00:20:00]ABCDEFGHIJKL[00:24:00]\r\n";
    Image karaoke = startAt(lyrics, 12000);
    EXPECT_GT(countPixels(karaoke, kWipeLinePixel), 0);
    Image plain = barAt(22000);
    EXPECT_EQ(countPixels(plain, kSungPixel), 0) << "no colour change without karaoke colouring";
    EXPECT_EQ(countPixels(plain, kWipeLinePixel), 0);
    EXPECT_GT(countPixels(plain, kUnsungPixel), 20);

    restartPlayer();
    writeIni("Red_Line", 0);
    Image noLine = startAt(lyrics, 12000);
    EXPECT_EQ(countPixels(noLine, kWipeLinePixel), 0);
    EXPECT_GT(countPixels(noLine, kSungPixel), 0);
    EXPECT_GT(countPixels(noLine, kUnsungPixel), 0);

    restartPlayer();
    writeIni("Disp_Kra", 0);  // with Red_Line on: the wipe line runs through an unchanging line
    Image lineOnly = startAt(lyrics, 12000);
    EXPECT_GT(countPixels(lineOnly, kWipeLinePixel), 0);
    EXPECT_EQ(countPixels(lineOnly, kSungPixel), 0);
}

TEST_F(Karaoke, ALineFadesInFromTheBackgroundAndFadesOutIntoIt) {
    writeIni("ColorBACK", "0x402010");
    const uint32_t background = 0x102040;
    const int32_t s = playerTime(1000), e = playerTime(1400);
    // Fade-in from s - 40 to s - 20 hundredths, fade-out from e + 120 to e + 160.
    Image blank = startAt(kKaraokeLine, (s - 60) * 10);
    EXPECT_TRUE(isPlain(blank, background)) << "before the line";
    Image start = barAt((s - 38) * 10);
    EXPECT_TRUE(isPlain(start, background)) << "the fade-in begins at the background";
    Image half = barAt((s - 28) * 10);  // 100 of 200 ms
    Image shown = barAt((s - 18) * 10);
    EXPECT_GT(countPixels(shown, kUnsungPixel), 20);
    EXPECT_TRUE(isMix(half, Image(245, 18, background), shown, 50));

    Image fullOut = barAt((e + 122) * 10);  // the fade-out begins with the whole line
    EXPECT_GT(countPixels(fullOut, kSungPixel), 20);
    Image halfOut = barAt((e + 142) * 10);  // 200 of 400 ms
    EXPECT_TRUE(isMix(halfOut, Image(245, 18, background), fullOut, 50));
    Image after = barAt((e + 170) * 10);
    EXPECT_TRUE(isPlain(after, background)) << "after the line";
}

TEST_F(Karaoke, TheNextLineCrossFadesFromTheLineBefore) {
    const std::string lyrics =
        "[00:10:00]ABCD[00:11:00]EFGH[00:11:50]IJKL[00:12:00]\r\n"
        "[00:12:50]WXYZ[00:13:50]WXYZ[00:15:00]WXYZ[00:16:00]\r\n";
    const int32_t s2 = playerTime(1250);
    startAt(lyrics, 11500);
    // The second line's fade-in opens at s2 - 40 while the first still shows: a cross-fade.
    Image old = barAt((s2 - 38) * 10);
    Image half = barAt((s2 - 28) * 10);
    Image next = barAt((s2 - 18) * 10);
    EXPECT_GT(countPixels(old, kSungPixel), 20);
    EXPECT_EQ(countPixels(old, kUnsungPixel), 0) << "the old line, whole and sung";
    EXPECT_EQ(countPixels(next, kSungPixel), 0) << "the new line, not yet sung";
    EXPECT_TRUE(isMix(half, old, next, 50));
}

TEST_F(Karaoke, ALineWiderThanTheBarScrollsWithTheWipe) {
    writeIni("Wset", 0);  // the scroll keeps the wipe front in the middle of the bar
    std::string third;
    for (int i = 0; i < 2; ++i) third += "ABCDEFGHIJ";
    const std::string text = third + third + third;
    const std::string lyrics = "[00:10:00]" + third + "[00:11:00]" + third + "[00:12:00]" + third + "[00:13:00]\r\n";
    const int width = textExtent(text, text.size());
    ASSERT_GT(width + 6, 245) << "the line must be wider than the bar";
    const std::vector<Mark> marks = {{0, 1000}, {20, 1100}, {40, 1200}, {60, 1300}};
    // The first column of the line in view: the wipe front held in the middle of the bar, but
    // never a column before the line's first or after its last.
    auto source = [&](int32_t positionMs) {
        return std::clamp(wipeAt(text, marks, positionMs) + 4 - 245 / 2, 0, width + 6 - 245);
    };
    Image first = startAt(lyrics, 11000);
    Image later = barAt(11500);
    const int shift = source(11500) - source(11000);
    ASSERT_GT(source(11000), 0);
    ASSERT_GT(shift, 10);
    // The glyphs moved left by the shift; their colours change with the wipe, their shapes do not.
    std::vector<bool> a = drawnMask(first), b = drawnMask(later);
    int compared = 0, drawn = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x + shift < 245; ++x) {
            ASSERT_EQ(b[y * 245 + x], a[y * 245 + x + shift]) << "column " << x << " row " << y;
            ++compared;
            drawn += b[y * 245 + x];
        }
    EXPECT_GT(drawn, compared / 10);
    // At the end the line's last column meets the bar's right edge.
    Image end = barAt(13100);
    EXPECT_GT(columnsOf(end, kSungPixel).last, 235);
}

TEST_F(Karaoke, ASeekBackShowsTheEarlierLineAndTheSamePathInAnotherCaseKeepsTheLyrics) {
    const std::string lyrics = std::string(kKaraokeLine) + "[00:20:00]WXYZ[00:21:00]WXYZ[00:22:00]WXYZ[00:23:00]\r\n";
    std::string song = addSongWithLyrics("song", lyrics);
    std::string upper = song;
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    addSong(upper);
    ASSERT_EQ(player.init(), 0);
    Image first = barAt(12000, kStatusTicks + 2);
    Image second = barAt(22000);
    EXPECT_NE(first.pixels, second.pixels);
    EXPECT_EQ(barAt(12000).pixels, first.pixels) << "ten seconds back: the first line again";

    // Lyrics of the same name that would show if the file were read again.
    writeData("song.kra", "[00:10:00]MMMM[00:11:00]MMMM[00:13:00]MMMM[00:14:00]\r\n");
    select(1);
    player.waitTicks(3, 3000);
    EXPECT_EQ(barAt(12000).pixels, first.pixels) << "the same file in capitals is not read again";
    select(0);
    player.waitTicks(3, 3000);
    EXPECT_EQ(barAt(12000).pixels, first.pixels);
}

TEST_F(Karaoke, ATtmlDuetIsWipedWordByWordAndShowsItsSungWordsNotTheirTranslation) {
    // The first singer's line has two words with a pause between them: the wipe reaches a word's
    // last letter at the word's end and crosses the space while the singer pauses. The second
    // singer's line follows.
    writeData(
        "song.ttml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tt xmlns=\"http://www.w3.org/ns/ttml\" "
        "xmlns:ttm=\"http://www.w3.org/ns/ttml#metadata\"><head><metadata><ttm:agent type=\"person\" xml:id=\"v1\"/>"
        "<ttm:agent type=\"person\" xml:id=\"v2\"/></metadata></head><body><div>\n"
        "<p begin=\"00:10.000\" end=\"00:14.000\" ttm:agent=\"v1\"><span begin=\"00:10.000\" "
        "end=\"00:11.000\">ABCD</span> "
        "<span begin=\"00:13.000\" end=\"00:14.000\">EFGH</span><span "
        "ttm:role=\"x-translation\">translated</span></p>\n"
        "<p begin=\"15s\" end=\"17s\" ttm:agent=\"v2\"><span begin=\"15s\" end=\"17s\">WXYZ</span></p>\n"
        "</div></body></tt>\n");
    addSong(dataPath("song.mp3"));
    ASSERT_EQ(player.init(), 0);
    const std::string text = "ABCD EFGH";
    const std::vector<Mark> marks = {{0, 1000}, {4, 1100}, {5, 1300}, {9, 1400}};
    const int width = textExtent(text, text.size());
    const int x0 = (245 - width - 6) / 2;
    Image bar = barAt(10500, kStatusTicks + 2);
    for (int32_t positionMs : {10500, 12000, 13500}) {
        if (positionMs != 10500) bar = barAt(positionMs);
        const int front = x0 + wipeAt(text, marks, positionMs);
        SCOPED_TRACE("at " + std::to_string(positionMs) + " ms the wipe stands at column " + std::to_string(front));
        if (positionMs != 12000) {
            expectWipeFront(bar, x0, width, front);
            continue;
        }
        // In the pause the wipe line is a band of the space, which has no glyph to colour: the
        // first word is sung, the second not begun.
        Span sung = columnsOf(bar, kSungPixel), unsung = columnsOf(bar, kUnsungPixel);
        EXPECT_LE(sung.last, front);
        EXPECT_GE(sung.last, x0 + textExtent(text, 4) - 3);
        EXPECT_GE(unsung.first, front);
        EXPECT_LE(unsung.first, x0 + textExtent(text, 5) + 6);
        EXPECT_EQ(columnsOf(bar, kWipeLinePixel).first, -1);
    }
    EXPECT_GT(x0 + wipeAt(text, marks, 12000), x0 + textExtent(text, 4)) << "in the pause, inside the space";
    EXPECT_LT(x0 + wipeAt(text, marks, 12000), x0 + textExtent(text, 5));
    // The second singer's line, half sung.
    bar = barAt(16000);
    EXPECT_GT(countPixels(bar, kSungPixel), 20);
    EXPECT_GT(countPixels(bar, kUnsungPixel), 20);
}

TEST_F(Karaoke, ABilingualFileShowsEachSungLineForItsTimeAsTheFileWithoutItsTranslations) {
    // One row shows the sung line, never its translation: the bar is drawn as for the file
    // without the translation lines, whose lines are the sung ones.
    const std::string sung = "[00:10.00]First line\r\n[00:13.00]Second line\r\n[00:16.00]Third line\r\n";
    const std::string bilingual =
        "[00:10.00]First line\r\n[00:10.00]Erste Zeile\r\n[00:13.00]Second line\r\n"
        "[00:13.00]Zweite Zeile\r\n[00:13.00]Deuxieme ligne\r\n[00:16.00]Third line\r\n"
        "[00:16.00]Dritte Zeile\r\n";
    std::vector<std::vector<uint32_t>> bars[2];
    for (int withTranslations = 0; withTranslations < 2; ++withTranslations) {
        if (withTranslations) restartPlayer();
        writeData("song.lrc", withTranslations ? bilingual : sung);
        addSong(dataPath("song.mp3"));
        ASSERT_EQ(player.init(), 0);
        hold(10500);
        ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 5000));
        for (int32_t positionMs : {10500, 12500, 14000, 17000})
            bars[withTranslations].push_back(barAt(positionMs).pixels);
    }
    for (size_t k = 0; k < bars[0].size(); ++k) EXPECT_EQ(bars[0][k], bars[1][k]) << "moment " << k;
    EXPECT_NE(bars[0][0], bars[0][2]) << "the second line shows after the first";
}
