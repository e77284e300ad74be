// Where the bar stands through the real plug-in: following the host, a screen place of its own,
// hiding behind other windows in Direct mode while drawing into the host, and the window pick.
#include "PluginRun.h"
#include "resources/ResourceIds.h"

namespace {

const char kLyrics[] = "[00:10:00]ABCD[00:11:00]EFGH[00:13:00]IJKL[00:14:00]\r\n";

// A top-level window of another kind than the host's, standing for another application.
class OtherWindow {
public:
    OtherWindow(const char* title, int x, int y, int width, int height) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
        window = CreateWindowExA(0, kClass, title, WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    }
    ~OtherWindow() {
        DestroyWindow(window);
        UnregisterClassA(kClass, GetModuleHandleA(nullptr));
    }
    static constexpr char kClass[] = "SorvaneOtherApp";
    HWND window;
};

// The Japanese keyboard layout, active on this thread while it lives.
struct JapaneseKeyboard {
    JapaneseKeyboard() : previous(GetKeyboardLayout(0)), layout(LoadKeyboardLayoutW(L"00000411", KLF_ACTIVATE)) {}
    ~JapaneseKeyboard() { ActivateKeyboardLayout(previous, 0); }
    HKL previous;
    HKL layout;
};

class Placement : public PluginRun {
protected:
    void moveBar(int x, int y) { SetWindowPos(bar(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }
    void moveHost(int x, int y) {
        SetWindowPos(player.host().handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void expectBarAt(int x, int y, const char* why) {
        RECT r = barRect();
        EXPECT_EQ(r.left, x) << why;
        EXPECT_EQ(r.top, y) << why;
    }
};

}  // namespace

TEST_F(Placement, FollowingTheHostWithoutAVerticalOffsetMovesTheBarOnlyWhenTheHostMoves) {
    writeIni("Winamp_y", 0);
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarAt(kHostLeft + 21, kHostTop, "on the host's top edge");
    moveBar(500, 500);
    player.waitTicks(3, 3000);
    expectBarAt(500, 500, "the host stood still: the bar is left alone");
    moveHost(300, 320);
    player.waitTicks(2, 3000);
    expectBarAt(321, 320, "the host moved: the bar follows");

    restartPlayer();  // Winamp_y 45: the place is applied on every tick
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    moveBar(500, 500);
    player.waitTicks(2, 3000);
    expectBarAt(kHostLeft + 21, kHostTop + 45, "put back at once");
}

TEST_F(Placement, WithoutFollowingTheBarKeepsItsScreenPlaceAndADragStoresScreenCoordinates) {
    writeIni("Move_with_Winamp", 0);
    writeIni("Winamp_x", 600);
    writeIni("Winamp_y", 500);
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarAt(600, 500, "at its screen place");
    moveHost(300, 320);
    player.waitTicks(2, 3000);
    expectBarAt(600, 500, "the host moved without it");
    sendDrag(bar(), 10, 5, 40, 25, 4);
    player.waitTicks(2, 3000);
    expectBarAt(630, 520, "dragged");
    player.quit();
    EXPECT_EQ(iniValue("Winamp_x"), "630");
    EXPECT_EQ(iniValue("Winamp_y"), "520");
}

TEST_F(Placement, InDirectModeAnotherWindowInFrontHidesTheBarAndTheFramesGoIntoTheHost) {
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    Image lyrics = barAt(12000, kStatusTicks + 2);
    ASSERT_GT(countPixels(lyrics, kSungPixel), 0);

    OtherWindow other("other application", 700, 100, 200, 100);
    SetForegroundWindow(other.window);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    EXPECT_FALSE(IsWindowVisible(bar()));
    Image drawn;
    ASSERT_TRUE(captureWindow(player.host().handle(), 21, 45, 245, 18, drawn));
    EXPECT_EQ(drawn.pixels, lyrics.pixels) << "the line drawn into the host at the bar's offset";
    stop();
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    ASSERT_TRUE(captureWindow(player.host().handle(), 21, 45, 245, 18, drawn));
    EXPECT_GT(countPixels(drawn, kBannerTextPixel), 0) << "and so is the banner";

    SetForegroundWindow(player.host().handle());
    ASSERT_TRUE(player.waitTicks(2, 3000));
    EXPECT_TRUE(IsWindowVisible(bar())) << "the host in front again";

    restartPlayer();
    writeIni("Direct", 0);
    ASSERT_EQ(player.init(), 0);
    SetForegroundWindow(other.window);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    EXPECT_TRUE(IsWindowVisible(bar())) << "without Direct the bar never hides";
}

TEST_F(Placement, AWindowPickedWhileTheSheetIsOpenTakesTheBarAlongAndIsSaved) {
    OtherWindow target("ピック先", 1000, 700, 300, 200);
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    ASSERT_EQ(pressInSheet(kDisplayPage2, IDC_PICK_WINDOW,
                           [&] {
                               POINT p = {1150, 800};  // inside the target, far from the bar
                               ScreenToClient(bar(), &p);
                               sendClick(bar(), p.x, p.y);
                           }),
              1);
    EXPECT_EQ(iniValue("OtherWinClass"), OtherWindow::kClass);
    EXPECT_EQ(iniValue("OtherWinName"), "ピック先");
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarAt(1000 + 21, 700 + 45, "on the picked window");
    SetWindowPos(target.window, nullptr, 900, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarAt(900 + 21, 600 + 45, "and following it");
}

TEST_F(Placement, APickOnTheBarItselfAttachesNothing) {
    writeIni("Direct", 0);  // the bar stays in view while the sheet is in front
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    ASSERT_EQ(pressInSheet(kDisplayPage2, IDC_PICK_WINDOW), 1);
    sendClick(bar(), 10, 5);  // the sheet has closed; the pick takes the next click
    ASSERT_TRUE(player.waitTicks(10, 3000));
    expectBarAt(kHostLeft + 21, kHostTop + 45, "still on the host, not walking off by its own offset");
}

TEST_F(Placement, TypedCharactersOfAnyScriptAreOnlyThemselvesAndOnlyHPutsTheBarBack) {
    // The Shift-JIS bytes of these end in those of "h", "]" and "\": read byte by byte, the first
    // put the bar back at its first place and the second shifted the timing. Typed on a Japanese
    // keyboard, whose code page is the one the player's loop takes them in.
    const wchar_t notKeys[] = {L'\u201D', L'\u30BE', L'\u30BD'};  // "”", "ゾ", "ソ"
    JapaneseKeyboard keyboard;
    ASSERT_NE(keyboard.layout, nullptr);
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    Image shown = barAt(12000, kStatusTicks + 2);
    ASSERT_GT(countPixels(shown, kSungPixel), 0);
    sendDrag(bar(), 10, 5, 40, 25, 4);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarAt(kHostLeft + 51, kHostTop + 65, "dragged");

    for (wchar_t typed : notKeys) postCharacter(bar(), typed);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    expectBarAt(kHostLeft + 51, kHostTop + 65, "still where it was dragged");
    EXPECT_EQ(captureBar().pixels, shown.pixels) << "the same wipe, and no note of a timing shift";

    postCharacter(bar(), L'h');
    ASSERT_TRUE(player.waitTicks(3, 3000));
    expectBarAt(kHostLeft + 21, kHostTop + 40, "h: back at the first place");
}
