// The colour page: the colour dialog's answers, the background brush, the pick-up, the font list.
#include "config/SheetDriver.h"
#include "resources/ResourceIds.h"

namespace {

COLORREF brushColour() {
    LOGBRUSH brush = {};
    GetObjectA(plugin.renderSurface.backgroundBrush, sizeof brush, &brush);
    return brush.lbColor;
}

COLORREF skinPixel(int x, int y) { return RGB(x, y, 0x40); }

}  // namespace

TEST_F(SheetTest, ColourButtonsTakeTheChosenColourAndKeepTheOldOneOnCancel) {
    showPage(1);
    then([this] {
        plugin.renderSurface.row.shownLine = 5;
        clickLater(IDC_BEFORE_OUTER);
    });
    answerColourDialog(RGB(1, 2, 3));
    then([this] {
        EXPECT_EQ(plugin.liveSettings.ColorB1, RGB(1, 2, 3));
        EXPECT_EQ(plugin.renderSurface.row.shownLine, kNoLine);  // drawn afresh
        clickLater(IDC_LINE_INNER);
    });
    answerColourDialog(-1);
    then([] { EXPECT_EQ(plugin.liveSettings.ColorL3, 0x0000FF); });
    pressOk();
    runConfig();
    EXPECT_EQ(iniInt("ColorB1"), 0x030201);
}

TEST_F(SheetTest, BackgroundColourRebuildsTheBrushAndCancelOnThisPageRestoresIt) {
    showPage(1);
    then([this] { clickLater(IDC_BACK_COLOUR); });
    answerColourDialog(RGB(10, 20, 30));
    then([] {
        EXPECT_EQ(plugin.liveSettings.ColorBACK, RGB(10, 20, 30));
        EXPECT_EQ(brushColour(), RGB(10, 20, 30));
    });
    pressCancel();
    runConfig();
    EXPECT_EQ(plugin.liveSettings.ColorBACK, 0);
    EXPECT_EQ(brushColour(), 0u);
}

TEST_F(SheetTest, PickUpTakesTheHostSkinPixelAtTheBarCentreOrKeepsTheBackground) {
    std::string skin = tempFile("main.bmp");
    writeBitmap(skin, 256, 128, skinPixel);
    std::string folder = skin.substr(0, skin.rfind('\\'));
    plugin.renderSurface.loadHostSkin(folder.c_str());
    COLORREF centre = skinPixel(21 + 245 / 2, 45 + 18 / 2);
    showPage(1);
    then([this, centre, folder] {
        click(IDC_PICK_UP);
        EXPECT_EQ(plugin.liveSettings.ColorBACK, static_cast<int32_t>(centre));
        EXPECT_EQ(brushColour(), centre);

        // A screen position (the bar not following the host) is turned into host coordinates.
        plugin.liveSettings.ColorBACK = 0;
        plugin.liveSettings.Move_with_Winamp = 0;
        plugin.liveSettings.Winamp_x = kHostRect.left + 21;
        plugin.liveSettings.Winamp_y = kHostRect.top + 45;
        click(IDC_PICK_UP);
        EXPECT_EQ(plugin.liveSettings.ColorBACK, static_cast<int32_t>(centre));

        // Off the picture, or no picture: there is no colour to take.
        plugin.liveSettings.Winamp_x = 5000;
        click(IDC_PICK_UP);
        EXPECT_EQ(plugin.liveSettings.ColorBACK, static_cast<int32_t>(centre));
        plugin.renderSurface.loadHostSkin((folder + "\\none").c_str());
        plugin.liveSettings.Winamp_x = kHostRect.left + 21;
        click(IDC_PICK_UP);
        EXPECT_EQ(plugin.liveSettings.ColorBACK, static_cast<int32_t>(centre));
    });
    pressOk();
    runConfig();
    EXPECT_EQ(iniInt("ColorBACK"), static_cast<int>(centre));
}

TEST_F(SheetTest, FontListShowsTheSavedFaceAndStoresAChosenOneUntilCancel) {
    // Wine lists the stand-in for the default face under the stand-in's own full name. The list
    // shows it in the ANSI code page (932), FontName holds it in UTF-8.
    const char shown[] = "IPA Pゴシック";
    const char face[] = u8"IPA Pゴシック";
    plugin.liveSettings.FontName = face;
    showPage(1);
    then([this, face, shown] {
        EXPECT_EQ(text(IDC_FONT_LIST), shown);
        HWND list = item(IDC_FONT_LIST);
        SendMessageA(list, CB_SETCURSEL, 0, 0);
        SendMessageA(page(), WM_COMMAND, MAKEWPARAM(IDC_FONT_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        EXPECT_EQ(*plugin.liveSettings.FontName, text(IDC_FONT_LIST));
        EXPECT_NE(*plugin.liveSettings.FontName, face);
        SetFocus(list);  // the list loses the focus only when the sheet closes
    });
    pressCancel();
    runConfig();
    EXPECT_EQ(plugin.liveSettings.FontName, face);
}

TEST_F(SheetTest, UnknownFaceSelectsTheFirstItemAndStaysUntilTheListIsUsed) {
    plugin.liveSettings.FontName = "No Such Face";
    showPage(1);
    then([this] {
        EXPECT_EQ(SendMessageA(item(IDC_FONT_LIST), CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(plugin.liveSettings.FontName, "No Such Face");
        // No vertical face is offered: opening the list would otherwise turn the bar sideways.
        int count = static_cast<int>(SendMessageW(item(IDC_FONT_LIST), CB_GETCOUNT, 0, 0));
        EXPECT_GT(count, 1);
        for (int i = 0; i < count; ++i) {
            wchar_t name[LF_FULLFACESIZE + 1] = {};
            SendMessageW(item(IDC_FONT_LIST), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
            EXPECT_NE(name[0], L'@') << "item " << i;
        }
        SendMessageA(item(IDC_FONT_LIST), CB_SHOWDROPDOWN, TRUE, 0);  // merely opening it takes its face
        SendMessageA(item(IDC_FONT_LIST), CB_SHOWDROPDOWN, FALSE, 0);
        EXPECT_EQ(*plugin.liveSettings.FontName, text(IDC_FONT_LIST));
    });
    pressOk();
    runConfig();
}
