// The position page: live moves and resizes, the height limit, wrapping arrows, cancel.
#include "config/SheetDriver.h"
#include "resources/ResourceIds.h"

namespace {

HWND upDownOf(HWND page, HWND buddy) {
    for (HWND w = FindWindowExA(page, nullptr, UPDOWN_CLASSA, nullptr); w;
         w = FindWindowExA(page, w, UPDOWN_CLASSA, nullptr))
        if (reinterpret_cast<HWND>(SendMessageA(w, UDM_GETBUDDY, 0, 0)) == buddy) return w;
    return nullptr;
}

void clickUpArrow(HWND upDown) {
    RECT r;
    GetClientRect(upDown, &r);
    LPARAM top = MAKELPARAM(r.right / 2, 2);
    SendMessageA(upDown, WM_LBUTTONDOWN, MK_LBUTTON, top);
    SendMessageA(upDown, WM_LBUTTONUP, 0, top);
}

}  // namespace

TEST_F(SheetTest, TypedPositionAndSizeApplyAtOnceAndCancelRestoresTheBuffers) {
    then([this] {
        setText(IDC_LEFT_EDIT, "-50");
        setText(IDC_WIDTH_EDIT, "300");
        setText(IDC_HEIGHT_EDIT, "24");
    });
    then([] {
        EXPECT_EQ(plugin.liveSettings.Winamp_x, -50);
        EXPECT_EQ(plugin.liveSettings.width, 300);
        EXPECT_EQ(plugin.liveSettings.height, 24);
        EXPECT_EQ(plugin.renderSurface.barWidth, 300);
        EXPECT_EQ(plugin.renderSurface.barHeight, 24);
        EXPECT_EQ(plugin.renderSurface.row.shownLine, kNoLine);  // drawn afresh
    });
    pressCancel();
    runConfig();
    EXPECT_EQ(plugin.liveSettings.Winamp_x, 21);
    EXPECT_EQ(plugin.renderSurface.barWidth, 245);
    EXPECT_EQ(plugin.renderSurface.barHeight, 18);
    EXPECT_EQ(iniInt("width"), 245);
    EXPECT_EQ(iniInt("height"), 18);
}

TEST_F(SheetTest, HeightAbove80IsRefusedAndTheUpArrowWrapsFrom80ToZero) {
    then([this] { setText(IDC_HEIGHT_EDIT, "81"); });
    then([this] {
        EXPECT_EQ(text(IDC_HEIGHT_EDIT), "18");
        EXPECT_EQ(plugin.liveSettings.height, 18);
        EXPECT_EQ(plugin.renderSurface.barHeight, 18);
        setText(IDC_HEIGHT_EDIT, "80");
    });
    then([this] {
        EXPECT_EQ(plugin.renderSurface.barHeight, 80);
        clickUpArrow(upDownOf(page(), item(IDC_HEIGHT_EDIT)));
    });
    then([this] {
        EXPECT_EQ(text(IDC_HEIGHT_EDIT), "0");
        EXPECT_EQ(plugin.liveSettings.height, 0);
        EXPECT_EQ(plugin.renderSurface.barHeight, 0);  // rebuilt for a height of 0: no buffers
    });
    pressOk();
    runConfig();
    EXPECT_EQ(iniInt("height"), 0);
}

TEST_F(SheetTest, ShowingThePageAgainTakesADraggedPositionWithoutRebuilding) {
    showPage(3);
    then([] {
        plugin.liveSettings.Winamp_x = 300;  // as a drag of the bar does
        plugin.liveSettings.Winamp_y = -5;
        plugin.renderSurface.row.shownLine = 5;
    });
    showPage(0);
    then([this] {
        EXPECT_EQ(text(IDC_LEFT_EDIT), "300");
        EXPECT_EQ(text(IDC_TOP_EDIT), "-5");
        EXPECT_EQ(plugin.renderSurface.row.shownLine, 5);
    });
    pressOk();
    runConfig();
}

TEST_F(SheetTest, WithoutTheBarASizeChangeOnlyUpdatesTheSettings) {
    stopBar();
    then([this] { setText(IDC_WIDTH_EDIT, "300"); });
    then([] {
        EXPECT_EQ(plugin.liveSettings.width, 300);
        EXPECT_EQ(plugin.renderSurface.barWidth, 245);
    });
    pressOk();
    runConfig();
    EXPECT_EQ(iniInt("width"), 300);
}
