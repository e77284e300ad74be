// A bar wider than eighty times its height through the real plug-in: its buffers are as wide as
// the bar, and every column of it shows the background colour, with a line playing, with the
// empty banner, and after the background colour is changed on the colour page.
#include "PluginRun.h"

#include <colordlg.h>

#include "resources/ResourceIds.h"

namespace {

constexpr int kWidth = 1590, kHeight = 18;  // 80 x 18 = 1440 columns of font-height buffer
constexpr uint32_t kGrey = 0x404040, kOrange = 0xE08020;

// Answers the colour dialog the colour page opens with kOrange, from a thread timer: the dialog's
// modal loop runs inside the click that opens it.
BOOL CALLBACK answerIfColourDialog(HWND window, LPARAM) {
    if (!GetDlgItem(window, COLOR_RED)) return TRUE;
    for (int i = 0; i < 3; ++i) SetDlgItemInt(window, COLOR_RED + i, kOrange >> (16 - 8 * i) & 0xFF, FALSE);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}
void CALLBACK answerColourDialog(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), answerIfColourDialog, 0);
}

::testing::AssertionResult onlyBackground(const Image& bar, uint32_t background) {
    if (bar.width != kWidth) return ::testing::AssertionFailure() << "the bar is " << bar.width << " wide";
    int black = 0, other = 0, firstColumn = bar.width;
    for (int y = 0; y < bar.height; ++y)
        for (int x = 0; x < bar.width; ++x) {
            uint32_t p = bar.at(x, y);
            if (p == background) continue;
            (p == kBlackPixel ? black : other)++;
            if (x < firstColumn) firstColumn = x;
        }
    if (black + other == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << black << " black and " << other << " other pixels, from column "
                                         << firstColumn;
}

class WideBar : public PluginRun {};

}  // namespace

TEST_F(WideBar, EveryColumnShowsTheBackgroundPlayingStoppedAndAfterAColourChange) {
    writeIni("width", kWidth);
    writeIni("height", kHeight);
    writeIni("ColorBACK", 4210752);
    writeIni("Lset", 1);
    writeIni("Fade_in", 0);
    writeIni("Move_with_Winamp", 0);  // on the screen, which is 1600 wide
    writeIni("Winamp_x", 0);
    writeIni("Winamp_y", 600);
    std::string text;
    for (int i = 0; i < 30; ++i) text += "ABCDEFGHIJ";
    ASSERT_GT(textExtent(text, text.size()), kWidth);
    addSongWithLyrics("song", "[00:00:00]" + text + "\r\n");
    ASSERT_EQ(player.init(), 0);

    Image playing = barAt(500, kStatusTicks + 2);
    ASSERT_EQ(playing.width, kWidth);
    EXPECT_EQ(countPixels(playing, kBlackPixel), 0);
    EXPECT_GT(countPixels(playing, kUnsungPixel), 1000) << "the line fills the bar";
    int greyRight = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = kWidth - 150; x < kWidth; ++x) greyRight += playing.at(x, y) == kGrey;
    EXPECT_GT(greyRight, 150) << "the background around the glyphs at the right end";

    stop();
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    EXPECT_TRUE(onlyBackground(captureBar(), kGrey)) << "stopped, the banner shows nothing";
    ASSERT_TRUE(player.waitTicks(40, 3000));
    EXPECT_TRUE(onlyBackground(captureBar(), kGrey)) << "nor while it scrolls";

    UINT_PTR answering = SetTimer(nullptr, 0, 20, answerColourDialog);
    EXPECT_EQ(pressInSheet(kColourPage, IDC_BACK_COLOUR), 1);
    KillTimer(nullptr, answering);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    EXPECT_TRUE(onlyBackground(captureBar(), kOrange)) << "a new background colour, all the way";
    EXPECT_TRUE(player.record.boxes.empty());
}
