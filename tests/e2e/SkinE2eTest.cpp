// Skins through the real plug-in: the bitmap named by SkinPath behind the lyrics and the banner,
// and the host's own main.bmp, read again whenever the host reports another skin folder.
#include <cstdlib>

#include "PluginRun.h"
#include "resources/ResourceIds.h"

namespace {

const char kLyrics[] = "[00:10:00]ABCD[00:11:00]EFGH[00:13:00]IJKL[00:14:00]\r\n";

// A skin of the bar's own size: a gradient with a blue of 0x80 everywhere, so that no pixel of it
// is black or one of the text colours.
Image gradientSkin() {
    Image skin(245, 18);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 245; ++x) skin.at(x, y) = (0x40 + y * 4) << 16 | (0x20 + x % 64) << 8 | 0x80;
    return skin;
}

int32_t iniColour(const std::string& value) { return static_cast<int32_t>(std::strtol(value.c_str(), nullptr, 0)); }

class Skin : public PluginRun {
protected:
    // Runs the player until the bar passes `test`, at most ten seconds. Waiting for what a check
    // needs rather than for a number of ticks: the lyrics are read on a worker of the plug-in's,
    // and the status and the skin folder are asked only on every eleventh tick, which a busy
    // machine may delay past any fixed count.
    bool barBecomes(const std::function<bool(const Image&)>& test) {
        return player.runUntil([&] { return test(captureBar()); }, 10000) == 1;
    }
    int skinFolderQueries() { return player.host().queryCount(201) + player.host().queryCount(1201); }
};

}  // namespace

TEST_F(Skin, TheSkinShowsBehindTheLyricsAndTheBannerWithBlackAsTheColourKey) {
    const Image skin = gradientSkin();
    writeIni("SkinPath", writeData("skin.bmp", bitmapFileBytes(skin)));
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(barBecomes([](const Image& bar) { return countPixels(bar, kBannerTextPixel) > 20; }))
        << "the banner, with the first status reply";

    // Where a picture differs from the skin, and whether it shows black anywhere.
    auto differences = [&](const Image& shown, int& black) {
        int n = 0;
        black = countPixels(shown, kBlackPixel);
        for (size_t i = 0; i < shown.pixels.size(); ++i) n += shown.pixels[i] != skin.pixels[i];
        return n;
    };
    int black = 0;
    Image banner = captureBar();
    int text = differences(banner, black);
    EXPECT_EQ(black, 0);
    EXPECT_EQ(text, countPixels(banner, kBannerTextPixel)) << "the banner text lies on the skin";
    EXPECT_GT(text, 20);

    // The banner goes once the plug-in knows that the song plays and has its lyrics.
    hold(5000);
    ASSERT_TRUE(barBecomes([](const Image& bar) { return countPixels(bar, kBannerTextPixel) == 0; }));
    EXPECT_EQ(barAt(5000).pixels, skin.pixels) << "no line due: the skin alone";
    Image lyrics = barAt(12000);
    text = differences(lyrics, black);
    EXPECT_EQ(black, 0) << "the black around the glyphs is the colour key";
    EXPECT_GT(countPixels(lyrics, kSungPixel), 20);
    EXPECT_GT(countPixels(lyrics, kUnsungPixel), 20);
    EXPECT_LT(text, static_cast<int>(lyrics.pixels.size()) / 2) << "mostly skin";
}

TEST_F(Skin, TheHostsMainBmpIsReadWhenTheHostReportsAnotherSkinFolder) {
    // Two host skins of one colour each; the colour page's pick-up reads the picture's colour
    // under the middle of the bar.
    const uint32_t colours[] = {0x336699, 0x996633};
    std::string folders[2];
    for (int i = 0; i < 2; ++i) {
        folders[i] = dataPath("skin" + std::to_string(i));
        CreateDirectoryA(folders[i].c_str(), nullptr);
        writeData("skin" + std::to_string(i) + "\\main.bmp", bitmapFileBytes(Image(275, 116, colours[i])));
    }
    ASSERT_EQ(player.init(), 0);
    for (int i = 0; i < 2; ++i) {
        const int asked = skinFolderQueries();
        withModel([&](HostModel& m) { m.setSkinFolder(folders[i]); });
        // The folder is asked on every eleventh tick, and the tick after the answer reads main.bmp.
        ASSERT_TRUE(player.runUntil([&] { return skinFolderQueries() > asked; }, 10000));
        ASSERT_TRUE(player.waitTicks(2, 10000));
        ASSERT_EQ(pressInSheet(kColourPage, IDC_PICK_UP), 1);
        const uint32_t c = colours[i];
        const int32_t colourRef = static_cast<int32_t>((c & 0xFF) << 16 | (c & 0xFF00) | c >> 16);
        EXPECT_EQ(iniColour(iniValue("ColorBACK")), colourRef) << "skin folder " << i;
        EXPECT_TRUE(barBecomes([&](const Image& bar) { return countPixels(bar, c) > 245 * 18 / 2; }))
            << "the banner on the new background";
    }
}
