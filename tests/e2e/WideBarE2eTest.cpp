// A bar wider than eighty times its height through the real plug-in: its buffers are as wide as
// the bar, and every column of it shows the background colour, with a line playing, with the
// empty banner, and after the background colour is changed on the colour page; a line twice as
// wide as such a bar scrolls through it to its last word.
#include <windows.h>
#include <colordlg.h>

#include "PluginRun.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kWidth = 1590, kHeight = 18;  // wider than 80 x 18 = 1440
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

// Pixels of the bar in anything but the background: black, an old colour or an old line.
int notBackground(const Image& bar, uint32_t background) {
    return static_cast<int>(bar.pixels.size()) - countPixels(bar, background);
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

    stop();
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    EXPECT_EQ(notBackground(captureBar(), kGrey), 0) << "stopped, the banner shows nothing";
    ASSERT_TRUE(player.waitTicks(40, 3000));
    EXPECT_EQ(notBackground(captureBar(), kGrey), 0) << "nor while it scrolls";

    UINT_PTR answering = SetTimer(nullptr, 0, 20, answerColourDialog);
    EXPECT_EQ(pressInSheet(kColourPage, IDC_BACK_COLOUR), 1);
    KillTimer(nullptr, answering);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    EXPECT_EQ(notBackground(captureBar(), kOrange), 0) << "the new background colour, all the way";
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(WideBar, ALineTwiceAsWideAsTheBarScrollsToItsLastWord) {
    // The bar hangs 320 columns off the screen's left edge, so that its right end, where the
    // line's end arrives, is on the 1600-column screen.
    constexpr int kBar = 1920;
    writeIni("width", kBar);
    writeIni("height", 18);
    writeIni("Wset", 0);  // the wipe front in the middle of the bar
    writeIni("Move_with_Winamp", 0);
    writeIni("Winamp_x", -320);
    writeIni("Winamp_y", 600);
    std::string body;
    while (textExtent(body, body.size()) < 2 * kBar) body += "ABCDEFGHIJ";
    const std::string text = body + " XYZ";
    addSongWithLyrics("song", "[00:10:00]" + body + "[00:20:00] XYZ[00:22:00]\r\n");
    ASSERT_EQ(player.init(), 0);
    const int width = textExtent(text, text.size()), bodyWidth = textExtent(text, body.size());

    // Half-way through the long stretch, the wipe line stands in the middle of the bar.
    Image middle = barAt(playerTime(1500) * 10, kStatusTicks + 2);
    ASSERT_EQ(middle.width, kBar);
    EXPECT_NEAR(columnsOf(middle, kWipeLinePixel).last, kBar / 2, 1);

    // Half-way through the last word, the line's end meets the bar's right edge: the wipe line
    // in the last word, the rest of it unsung beyond.
    const int32_t t = playerTime(2100), ta = playerTime(2000), tb = playerTime(2200);
    const int wipe = bodyWidth + (t - ta) * (width - bodyWidth) / (tb - ta);
    Image lastWord = barAt(t * 10);
    Span wipeLine = columnsOf(lastWord, kWipeLinePixel), unsung = columnsOf(lastWord, kUnsungPixel);
    EXPECT_NEAR(wipeLine.last, kBar - 2 - (width - wipe), 1);
    EXPECT_GT(unsung.first, wipeLine.first);
    EXPECT_GT(unsung.last, kBar - 12);

    // Sung to its end, it stays there.
    Image end = barAt(playerTime(2300) * 10);
    EXPECT_EQ(columnsOf(end, kUnsungPixel).first, -1);
    EXPECT_GT(columnsOf(end, kSungPixel).last, kBar - 12);
    EXPECT_EQ(columnsOf(end, kWipeLinePixel).first, -1);
}
