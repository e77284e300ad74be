// A bar wider than eighty times its height through the real plug-in: its buffers are as wide as
// the bar, and every column of it shows the background colour, with a line playing, with the
// empty banner, and after the background colour is changed on the colour page.
#include "PluginRun.h"

#include <colordlg.h>

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
