// The plug-in's life in the substitute player: init, config, quit, and the bar's own handling of
// keys and mouse clicks that change settings.
#include "PluginRun.h"

namespace {

class Lifecycle : public PluginRun {};

int settingsKeyCount(const std::string& iniPath) {
    char keys[4096] = {};
    DWORD n = GetPrivateProfileSectionA(kIniSection, keys, sizeof keys, iniPath.c_str());
    int count = 0;
    for (DWORD i = 0; i < n; i += static_cast<DWORD>(strlen(keys + i)) + 1) ++count;
    return count;
}

}  // namespace

TEST_F(Lifecycle, InitCreatesTheBarAtTheHostCornerPlus21And40AndTheFirstTickPlacesIt) {
    ASSERT_EQ(player.init(), 0);
    RECT r = barRect();
    EXPECT_EQ(r.left, kHostLeft + 21);
    EXPECT_EQ(r.top, kHostTop + 40);
    EXPECT_EQ(r.right - r.left, 245);
    EXPECT_EQ(r.bottom - r.top, 18);
    EXPECT_TRUE(GetWindowLongA(bar(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    ASSERT_TRUE(player.waitTicks(2, 3000));
    r = barRect();
    EXPECT_EQ(r.left, kHostLeft + 21);
    EXPECT_EQ(r.top, kHostTop + 45);  // Winamp_y's default
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(Lifecycle, ConfigFromTheHostReturnsAtOnceAndTheSheetOpensFromTheBar) {
    ASSERT_EQ(player.init(), 0);
    player.config();
    EXPECT_TRUE(player.record.sheets.empty());  // nothing opened inside the host's call
    int seen = runSheet(1);
    ASSERT_EQ(seen, 1);
    ASSERT_EQ(player.record.sheets.size(), 1u);
    EXPECT_EQ(player.record.sheets[0].owner, "bar");
    EXPECT_EQ(player.record.sheets[0].caption, "設定");
    EXPECT_NE(iniValue("FontSize"), "<missing>");  // saved when the sheet closed
}

TEST_F(Lifecycle, ASecondConfigWhileTheSheetIsOpenOpensNothing) {
    ASSERT_EQ(player.init(), 0);
    player.config();
    int ticksWhileOpen = 0;
    runSheet(0, [&](HWND) {
        player.config();
        long before = player.ticks();
        player.runFor(300);  // ticks go on inside the sheet's loop
        ticksWhileOpen = static_cast<int>(player.ticks() - before);
    });
    player.runFor(300);
    EXPECT_EQ(player.record.sheets.size(), 1u);
    EXPECT_GT(ticksWhileOpen, 5);
}

TEST_F(Lifecycle, TheRightClickMenuOpensBesideThePointerAndLeadsToTheSheet) {
    ASSERT_EQ(player.init(), 0);
    player.waitTicks(2, 3000);
    RECT r = barRect();
    player.setTimerJob([&] {
        // The job also runs after ticks: note the menu before choosing closes it.
        player.watchModalWindows();
        if (HWND menu = findPopupMenu()) choosePopupMenuItem(menu, 1);
    });
    sendRightClick(bar(), 20, 5);
    player.setTimerJob(nullptr);
    ASSERT_EQ(player.record.menus.size(), 1u);
    EXPECT_EQ(player.record.menus[0].at.x, r.left + 20 - 8);
    EXPECT_EQ(player.record.menus[0].at.y, r.top + 5 - 8);
    // Settings first, then the timing commands (their own suite tries them).
    ASSERT_EQ(player.record.menus[0].items.size(), 9u);
    EXPECT_EQ(player.record.menus[0].items[0], "設定(&P)");
    EXPECT_EQ(runSheet(0), 1);
}

TEST_F(Lifecycle, ConfigBeforeInitRunsTheSheetForTheHostAndSavesTheSettings) {
    player.setTimerJob([&] {
        if (HWND sheet = findPropertySheet()) closePropertySheet(sheet, 1);
    });
    player.config();  // no bar: the sheet runs inside this call
    player.setTimerJob(nullptr);
    ASSERT_EQ(player.record.sheets.size(), 1u);
    EXPECT_EQ(player.record.sheets[0].owner, "host");
    EXPECT_EQ(iniValue("width"), "245");
    // The plug-in still starts normally afterwards.
    ASSERT_EQ(player.init(), 0);
    EXPECT_TRUE(player.waitTicks(3, 3000));
}

TEST_F(Lifecycle, QuitWritesEffectsAlwaysButOtherSettingsOnlyAfterADragOrTheResetKey) {
    ASSERT_EQ(player.init(), 0);
    player.waitTicks(2, 3000);
    sendDoubleClick(bar(), 10, 5);
    player.quit();
    EXPECT_EQ(iniValue("Effects"), "1");
    EXPECT_EQ(settingsKeyCount(iniPath()), 1);
}

TEST_F(Lifecycle, TheResetKeyPutsTheBarAtTheHostCornerAndQuitSavesEverything) {
    writeIni("Winamp_x", 100);
    writeIni("width", 400);
    writeIni("height", 30);
    ASSERT_EQ(player.init(), 0);
    player.waitTicks(2, 3000);
    sendChar(bar(), 'H');
    player.waitTicks(2, 3000);
    RECT r = barRect();
    EXPECT_EQ(r.left, kHostLeft + 21);
    EXPECT_EQ(r.top, kHostTop + 40);
    EXPECT_EQ(r.right - r.left, 245);
    EXPECT_EQ(r.bottom - r.top, 18);
    sendChar(bar(), 'x');  // other characters do nothing
    player.quit();
    EXPECT_EQ(iniValue("Winamp_x"), "21");
    EXPECT_EQ(iniValue("Winamp_y"), "40");
    EXPECT_EQ(iniValue("width"), "245");
    EXPECT_EQ(iniValue("FontSize"), "16");
}

TEST_F(Lifecycle, DraggingMovesTheBarAndQuitSavesTheNewOffset) {
    ASSERT_EQ(player.init(), 0);
    player.waitTicks(2, 3000);
    sendDrag(bar(), 10, 5, 40, 25, 4);
    player.waitTicks(3, 3000);
    RECT r = barRect();
    EXPECT_EQ(r.left, kHostLeft + 21 + 30);
    EXPECT_EQ(r.top, kHostTop + 45 + 20);
    player.quit();
    EXPECT_EQ(iniValue("Winamp_x"), "51");
    EXPECT_EQ(iniValue("Winamp_y"), "65");
}

TEST_F(Lifecycle, NineDoubleClicksBringEffectsBackToZero) {
    ASSERT_EQ(player.init(), 0);
    player.waitTicks(2, 3000);
    for (int i = 0; i < 9; ++i) sendDoubleClick(bar(), 10, 5);
    player.quit();
    EXPECT_EQ(iniValue("Effects"), "0");
}

TEST_F(Lifecycle, KeysTypedInTheBarReachTheHost) {
    ASSERT_EQ(player.init(), 0);
    sendKey(bar(), 'Z');
    player.runFor(100);
    std::vector<HostKey> keys = player.host().keys();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('Z'));
}

TEST_F(Lifecycle, CloseStopsTheTicksAndAsksTheHostToQuitWithoutDestroyingTheBar) {
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    PostMessageA(bar(), WM_CLOSE, 0, 0);
    player.runFor(200);
    EXPECT_GE(player.record.quitMessages, 1);
    EXPECT_TRUE(IsWindow(bar()));
    EXPECT_FALSE(player.waitTicks(1, 500));
    player.quit();  // stopping the timer again is harmless
    EXPECT_FALSE(IsWindow(bar()));
}

TEST_F(Lifecycle, AFailedInitReportsItAndQuitAfterItIsSafe) {
    // The bar's class already registered for the plug-in's module makes registration fail.
    HMODULE module = GetModuleHandleA("gen_sorvane.dll");
    ASSERT_TRUE(module);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = module;
    wc.lpszClassName = "SorvaneVis";
    ASSERT_TRUE(RegisterClassA(&wc));
    EXPECT_EQ(player.init(), 1);
    player.watchModalWindows();
    ASSERT_EQ(player.record.boxes.size(), 1u);
    EXPECT_EQ(player.record.boxes[0].caption, "blah");
    EXPECT_EQ(player.record.boxes[0].text, "Error registering window class");
    player.quit();
    player.quit();
    UnregisterClassA("SorvaneVis", module);
}

TEST_F(Lifecycle, PollingStopsWhileTenRepliesArePendingAndResumesWhenTheyArrive) {
    player.shutDown();
    startPlayer(1);  // the host on a thread of its own can hold its replies back
    addSong("C:\\Music\\a.mp3", "A");
    ASSERT_EQ(player.init(), 0);
    player.waitTicks(5, 3000);
    player.runFor(100);
    int beforeHold = player.host().queryCount(105);
    ASSERT_TRUE(player.host().withhold());
    player.waitTicks(60, 5000);
    player.host().release();
    Sleep(100);  // the host thread answers the pile; no tick runs meanwhile on this thread
    // Three queries a tick: after four ticks ten replies are pending and polling stops.
    int duringHold = player.host().queryCount(105) - beforeHold;
    EXPECT_EQ(duringHold, 4);
    player.waitTicks(30, 3000);
    EXPECT_GE(player.host().queryCount(105) - beforeHold - duringHold, 25);  // polling resumed
}

TEST_F(Lifecycle, WithNoSavedWindowTheBarFollowsTheHost) {
    ASSERT_EQ(player.init(), 0);
    player.waitTicks(2, 3000);
    SetWindowPos(player.host().handle(), nullptr, 300, 320, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    player.waitTicks(2, 3000);
    RECT r = barRect();
    EXPECT_EQ(r.left, 300 + 21);
    EXPECT_EQ(r.top, 320 + 45);
}

TEST_F(Lifecycle, ASavedWindowIsLookedUpByClassAndTitleAndFollowed) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SorvaneTestTarget";
    RegisterClassA(&wc);
    HWND target = CreateWindowExA(0, wc.lpszClassName, "ターゲット", WS_POPUP | WS_VISIBLE, 600, 100, 300, 200, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(target);
    writeIni("OtherWinClass", "SorvaneTestTarget");
    writeIni("OtherWinName", "ターゲット");
    ASSERT_EQ(player.init(), 0);
    player.waitTicks(2, 3000);
    RECT r = barRect();
    EXPECT_EQ(r.left, 600 + 21);
    EXPECT_EQ(r.top, 100 + 45);
    // A window that goes away ends the attachment: the bar follows the host again.
    DestroyWindow(target);
    player.waitTicks(3, 3000);
    r = barRect();
    EXPECT_EQ(r.left, kHostLeft + 21);
    EXPECT_EQ(r.top, kHostTop + 45);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}
