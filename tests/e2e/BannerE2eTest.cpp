// The title banner through the real plug-in: when it replaces the lyrics, what it shows and how it
// scrolls, and what the bar does without lyrics by the no-lyrics setting.
#include "PluginRun.h"

namespace {

const char kLyrics[] = "[00:10:00]ABCD[00:11:00]EFGH[00:13:00]IJKL[00:14:00]\r\n";
const char kCaption[] = "     ---  SORVANE  v0.15b  ---  ";

// A song file of 1000 bytes ending in an ID3v1 block with this title and artist.
std::string songWithId3(const std::string& title, const std::string& artist) {
    auto field = [](const std::string& text) { return (text + std::string(30, ' ')).substr(0, 30); };
    return std::string(1000, '\x55') + "TAG" + field(title) + field(artist) + std::string(65, '\0');
}

// The banner picture as the plug-in should draw it: five copies of the text, 32 pixels apart,
// from x = 16, in the title colour on black, as wide as the bar's buffers.
Image bannerPicture(const std::string& text, int& textWidth) {
    const int width = 80 * 18, height = 18;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ keptBitmap = SelectObject(dc, section);
    HFONT font = createBarFont(height);
    HGDIOBJ keptFont = SelectObject(dc, font);
    SetTextColor(dc, RGB(0x32, 0x32, 0x32));
    SetBkMode(dc, TRANSPARENT);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    textWidth = size.cx;
    for (int i = 0; i < 5; ++i) TextOutA(dc, 16 + i * (size.cx + 32), 2, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    Image picture(width, height);
    const uint32_t* p = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = p[i] & 0xFFFFFF;
    SelectObject(dc, keptFont);
    DeleteObject(font);
    SelectObject(dc, keptBitmap);
    DeleteObject(section);
    DeleteDC(dc);
    return picture;
}

// The scroll offsets, below one copy's spacing, at which the bar shows exactly that stretch of the
// banner picture.
std::vector<int> bannerOffsets(const Image& bar, const Image& picture, int spacing) {
    std::vector<int> found;
    for (int s = 0; s < spacing; ++s) {
        bool same = true;
        for (int y = 0; y < bar.height && same; ++y)
            for (int x = 0; x < bar.width && same; ++x) same = bar.at(x, y) == picture.at(s + x, y);
        if (same) found.push_back(s);
    }
    return found;
}

class Banner : public PluginRun {};

}  // namespace

TEST_F(Banner, StoppingSwitchesToTheBannerAtTheFirstStatusReplyButPausingKeepsTheLyrics) {
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    EXPECT_GT(countPixels(captureBar(), kBannerTextPixel), 0) << "stopped at the start: the banner";
    Image lyrics = barAt(12000, kStatusTicks + 2);
    EXPECT_GT(countPixels(lyrics, kSungPixel), 0);
    EXPECT_EQ(countPixels(lyrics, kBannerTextPixel), 0);

    pause();
    player.waitTicks(kStatusTicks + 2, 3000);
    EXPECT_EQ(captureBar().pixels, lyrics.pixels) << "a paused song keeps its line";

    stop();
    const int asked = player.host().queryCount(104);
    int ticks = 0;
    while (ticks < kStatusTicks + 2 && countPixels(captureBar(), kBannerTextPixel) == 0) {
        ASSERT_TRUE(player.waitTicks(1, 1000));
        ++ticks;
    }
    EXPECT_GT(countPixels(captureBar(), kBannerTextPixel), 0);
    EXPECT_LE(ticks, 11);
    EXPECT_EQ(player.host().queryCount(104) - asked, 1) << "the banner came with the first status reply";
}

TEST_F(Banner, WithoutLyricsTheBannerScrollsTheSongsId3TitleAndArtist) {
    std::string song = writeData("train.mp3", songWithId3("Night Train", "The Testers"));
    addSong(song, "a playlist title that must not show");
    ASSERT_EQ(player.init(), 0);
    hold(5000);  // playing, but there are no lyrics
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));

    int textWidth = 0;
    Image picture = bannerPicture(std::string("Night Train / The Testers") + kCaption, textWidth);
    const int spacing = textWidth + 32;
    std::vector<int> before = bannerOffsets(captureBar(), picture, spacing);
    ASSERT_EQ(before.size(), 1u) << "the bar shows one stretch of the banner";
    ASSERT_TRUE(player.waitTicks(40, 3000));
    std::vector<int> after = bannerOffsets(captureBar(), picture, spacing);
    ASSERT_EQ(after.size(), 1u);
    int moved = ((after[0] - before[0]) % spacing + spacing) % spacing;
    EXPECT_GE(moved, 9) << "one pixel every four ticks";
    EXPECT_LE(moved, 11);
}

TEST_F(Banner, ShowNothingLeavesTheBackgroundAndHideKeepsTheBarHiddenWithoutLyrics) {
    writeIni("Lset", 1);
    writeIni("ColorBACK", "0x204080");
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    Image shown = captureBar();
    EXPECT_EQ(countPixels(shown, 0x804020), shown.width * shown.height) << "only the background";

    restartPlayer();
    writeIni("Lset", 2);
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    EXPECT_FALSE(IsWindowVisible(bar())) << "no lyrics playing: hidden";
    Image lyrics = barAt(12000, kStatusTicks + 2);
    EXPECT_TRUE(IsWindowVisible(bar())) << "lyrics playing: shown";
    EXPECT_EQ(GetFocus(), bar()) << "the song-start show gives the bar the keyboard";
    EXPECT_GT(countPixels(lyrics, kSungPixel), 0);
    stop();
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    EXPECT_FALSE(IsWindowVisible(bar())) << "stopped: hidden again";
}
