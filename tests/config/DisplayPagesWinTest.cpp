// The two display pages: switches that act on the bar, the radio sets and the window pick.
#include "config/SheetDriver.h"
#include "resources/ResourceIds.h"

TEST_F(SheetTest, FollowingSwitchConvertsThePositionAndTakesDirectDrawingWithIt) {
    showPage(3);
    then([this] {
        click(IDC_DIRECT);
        EXPECT_EQ(plugin.liveSettings.Direct, 0);
        EXPECT_TRUE(IsWindowVisible(plugin.barWindow));
        click(IDC_DIRECT);
        EXPECT_EQ(plugin.liveSettings.Direct, 1);
        EXPECT_FALSE(IsWindowVisible(plugin.barWindow));

        click(IDC_MOVE_WITH_WINDOW);  // off: the offsets become the bar's screen position
        EXPECT_EQ(plugin.liveSettings.Move_with_Winamp, 0);
        EXPECT_EQ(plugin.liveSettings.Direct, 0);
        EXPECT_FALSE(checked(IDC_DIRECT));
        EXPECT_TRUE(IsWindowVisible(plugin.barWindow));
        EXPECT_EQ(plugin.liveSettings.Winamp_x, kHostRect.left + 21);
        EXPECT_EQ(plugin.liveSettings.Winamp_y, kHostRect.top + 45);

        click(IDC_DIRECT);  // allowed while following stays off
        EXPECT_EQ(plugin.liveSettings.Direct, 1);
        click(IDC_MOVE_WITH_WINDOW);
        EXPECT_EQ(plugin.liveSettings.Winamp_x, 21);
        EXPECT_EQ(plugin.liveSettings.Winamp_y, 45);
    });
    pressOk();
    runConfig();
    EXPECT_EQ(iniInt("Move_with_Winamp"), 1);
    EXPECT_EQ(iniInt("Direct"), 1);
}

TEST_F(SheetTest, KaraokeSwitchGreysItsSubSwitchWhichKeepsItsValue) {
    showPage(3);
    then([this] {
        click(IDC_DISP_KRA);
        EXPECT_EQ(plugin.liveSettings.Disp_Kra, 0);
        EXPECT_FALSE(IsWindowEnabled(item(IDC_NOT_DISP_NOKRA)));
        EXPECT_FALSE(IsWindowEnabled(item(IDC_NOT_DISP_NOKRA_TAIL)));
        EXPECT_EQ(plugin.liveSettings.Not_Disp_NoKra, 1);
        click(IDC_STANDARD_TIME);
        EXPECT_EQ(plugin.liveSettings.TimeType, 0);
        EXPECT_FALSE(checked(IDC_PLAYER_TIME));
    });
    pressOk();
    runConfig();
    EXPECT_EQ(iniInt("Disp_Kra"), 0);
    EXPECT_EQ(iniInt("TimeType"), 0);
}

TEST_F(SheetTest, EachRadioSetOfTheSecondPageKeepsExactlyOneButtonChecked) {
    auto checkedIn = [this](int first) {
        int n = 0;
        for (int id = first; id < first + 3; ++id) n += checked(id);
        return n;
    };
    showPage(4);
    then([this, checkedIn] {
        EXPECT_TRUE(checked(IDC_LSET_FIRST));
        EXPECT_TRUE(checked(IDC_WSET_FIRST + 1));
        click(IDC_LSET_FIRST + 2);
        click(IDC_WSET_FIRST);
        EXPECT_EQ(plugin.liveSettings.Lset, 2);
        EXPECT_EQ(plugin.liveSettings.Wset, 0);
        EXPECT_EQ(checkedIn(IDC_LSET_FIRST), 1);
        EXPECT_EQ(checkedIn(IDC_WSET_FIRST), 1);
        EXPECT_TRUE(checked(IDC_LSET_FIRST + 2));
        EXPECT_TRUE(checked(IDC_WSET_FIRST));
    });
    pressOk();
    runConfig();
    EXPECT_EQ(iniInt("Lset"), 2);
}

TEST_F(SheetTest, WindowPickAttachesTheClickedWindowAndSurvivesCancel) {
    WNDCLASSA targetClass = {};
    targetClass.lpfnWndProc = DefWindowProcA;
    targetClass.hInstance = instance;
    targetClass.lpszClassName = "SorvaneTestTarget";
    RegisterClassA(&targetClass);
    HWND target = CreateWindowExA(0, "SorvaneTestTarget", "Target", WS_POPUP | WS_VISIBLE, 1200, 900, 200, 100, nullptr,
                                  nullptr, instance, nullptr);
    showPage(4);
    then([this] {
        click(IDC_PICK_WINDOW);
        EXPECT_EQ(GetCapture(), plugin.barWindow);
    });
    then([target] {
        POINT p = {1300, 950};
        ScreenToClient(plugin.barWindow, &p);
        SendMessageA(plugin.barWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        EXPECT_EQ(plugin.attachWindow, target);
        EXPECT_EQ(plugin.liveSettings.OtherWinClass, "SorvaneTestTarget");
        EXPECT_EQ(plugin.liveSettings.OtherWinName, "Target");
        EXPECT_NE(GetCapture(), plugin.barWindow);
    });
    pressCancel();
    runConfig();
    EXPECT_EQ(plugin.attachWindow, target);
    DestroyWindow(target);
}
