// The desktop window through the real plug-in: a layered, topmost window of its own at its saved
// place, drawn with per-pixel alpha (the pictures it hands to UpdateLayeredWindowIndirect, which the
// substitute player watches through the plug-in's import table), dragged and saved, locked,
// brought onto the screen, and driven by the global hotkeys the substitute player offers.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <set>

#include "PluginRun.h"
#include "resources/ResourceIds.h"

namespace {

const char kLyrics[] = "[00:10:00]ABCD[00:11:00]EFGH[00:13:00]IJKL[00:14:00]\r\n";

int countWhere(const Image& frame, uint32_t pixel) {
    int n = 0;
    for (uint32_t p : frame.pixels) n += p == pixel;
    return n;
}

// The rows from the first to the last that hold an opaque pixel: the outlined letters' height.
int opaqueRows(const Image& frame) {
    int first = -1, last = -1;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (frame.at(x, y) >> 24 == 255) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

// The rows the ink of text takes in the bar's font for a bar this high, drawn here.
int inkRows(const char* text, int barHeight, int outline = 2) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 400, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ keptBitmap = SelectObject(dc, bitmap);
    HFONT font = createBarFont(barHeight, outline);
    HGDIOBJ keptFont = SelectObject(dc, font);
    SetBkColor(dc, 0);
    SetTextColor(dc, 0xFFFFFF);
    TextOutA(dc, 10, 10, text, static_cast<int>(strlen(text)));
    GdiFlush();
    int first = -1, last = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x)
            if (static_cast<const uint32_t*>(bits)[y * 400 + x] & 0xFFFFFF) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    SelectObject(dc, keptFont);
    SelectObject(dc, keptBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return first < 0 ? 0 : last - first + 1;
}

// The narrowest bands of the middle and the outer colour met going straight out from a glyph of a
// colour trio (across a row or down a column, either way) to the see-through background. Beside an
// upright or a level stroke they are the bands' widths; elsewhere they can only be wider.
struct OutlineBands {
    int middle = INT_MAX, outer = INT_MAX;
};
OutlineBands narrowestBands(const Image& frame, uint32_t glyph, uint32_t middle, uint32_t outer) {
    const uint32_t opaque = 0xFF000000;
    auto inside = [&frame](int x, int y) { return x >= 0 && x < frame.width && y >= 0 && y < frame.height; };
    OutlineBands bands;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            if (frame.at(x, y) != (opaque | glyph)) continue;
            for (POINT step : {POINT{1, 0}, POINT{-1, 0}, POINT{0, 1}, POINT{0, -1}}) {
                int runs[2] = {0, 0}, cx = x + step.x, cy = y + step.y;
                for (int band = 0; band < 2; ++band)
                    for (; inside(cx, cy) && frame.at(cx, cy) == (opaque | (band ? outer : middle));
                         cx += step.x, cy += step.y)
                        ++runs[band];
                if (runs[0] && runs[1] && inside(cx, cy) && frame.at(cx, cy) == 0) {
                    bands.middle = std::min(bands.middle, runs[0]);
                    bands.outer = std::min(bands.outer, runs[1]);
                }
            }
        }
    return bands;
}

class Desktop : public PluginRun {
protected:
    // The whole picture the window shows, as the plug-in last handed it to Windows (the player
    // watches its UpdateLayeredWindowIndirect): 0xAARRGGBB premultiplied. False before the first.
    bool takeFrame() {
        LayeredPicture picture;
        if (!player.layeredWindow().lastPicture(picture)) return false;
        lastFrame = picture.pixels;
        return true;
    }
    LONG_PTR exStyle() { return GetWindowLongPtrA(bar(), GWL_EXSTYLE); }
    void expectBarRect(int left, int top, int width, int height, const char* why) {
        RECT r = barRect();
        EXPECT_EQ(r.left, left) << why;
        EXPECT_EQ(r.top, top) << why;
        EXPECT_EQ(r.right - r.left, width) << why;
        EXPECT_EQ(r.bottom - r.top, height) << why;
    }
    void desktopIni(int x, int y, int width) {
        writeIni("Window", 1);
        writeIni("Desktop_x", x);
        writeIni("Desktop_y", y);
        writeIni("Desktop_width", width);
    }

    Image lastFrame;
};

}  // namespace

TEST_F(Desktop, ALayeredTopmostWindowAtItsPlaceShowsOutlinedTextOverTheBackgroundsOpacityAndStaysThere) {
    desktopIni(300, 600, 500);
    writeIni("DesktopBack", 40);
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    hold(12000);
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));

    LONG_PTR style = exStyle();
    EXPECT_TRUE(style & WS_EX_LAYERED);
    EXPECT_TRUE(style & WS_EX_TOPMOST);
    EXPECT_TRUE(style & WS_EX_TOOLWINDOW) << "no task-bar button";
    EXPECT_FALSE(style & WS_EX_TRANSPARENT) << "unlocked: it takes the mouse";
    EXPECT_EQ(GetWindow(bar(), GW_OWNER), nullptr);
    expectBarRect(300, 600, 500, 18, "at Desktop_x and Desktop_y, Desktop_width wide");

    ASSERT_TRUE(takeFrame());
    ASSERT_EQ(lastFrame.width, 500);
    ASSERT_EQ(lastFrame.height, 18);
    const uint32_t sungText = 0xFF000000 | kSungPixel, unsungText = 0xFF000000 | kUnsungPixel;
    const uint32_t background = 102u << 24;  // black at 40 %: 102 of 255, its colour premultiplied away
    EXPECT_GT(countWhere(lastFrame, sungText), 0) << "the sung stretch, opaque";
    EXPECT_GT(countWhere(lastFrame, unsungText), 0) << "and the unsung one";
    EXPECT_GT(countWhere(lastFrame, background), 500 * 18 / 2) << "the see-through background";
    int otherAlpha = 0;
    for (uint32_t p : lastFrame.pixels) otherAlpha += p >> 24 != 255 && p != background;
    EXPECT_EQ(otherAlpha, 0) << "text and outline opaque, everything else the background";

    // It follows neither the host nor its minimising.
    SetWindowPos(player.host().handle(), nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(player.host().handle(), SW_MINIMIZE);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    expectBarRect(300, 600, 500, 18, "the host moved and minimised");
    EXPECT_TRUE(IsWindowVisible(bar()));

    // A drag moves it and saves the place at once; quit saves it too.
    sendDrag(bar(), 10, 5, 40, 25, 4);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarRect(330, 620, 500, 18, "dragged");
    EXPECT_EQ(iniValue("Desktop_x"), "330");
    EXPECT_EQ(iniValue("Desktop_y"), "620");
    // Its edges size it: the other edge stays, and so does the height.
    sendDrag(bar(), 497, 5, 597, 40, 4);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarRect(330, 620, 600, 18, "the right edge dragged");
    sendDrag(bar(), 2, 5, 102, 5, 4);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarRect(430, 620, 500, 18, "the left edge dragged");
    ASSERT_TRUE(takeFrame());
    EXPECT_EQ(lastFrame.width, 500) << "drawn at its new width";
    EXPECT_EQ(iniValue("Desktop_width"), "500");
    writeIni("Desktop_x", 0);  // as if the drag's own save had failed
    player.quit();
    EXPECT_EQ(iniValue("Desktop_x"), "430");
    EXPECT_EQ(iniValue("Window"), "1");
}

TEST_F(Desktop, LockedClicksPassThroughAndNothingMovesItButTheSettingsAndTheHotkeyUnlockIt) {
    desktopIni(200, 500, 400);
    writeIni("Locked", 1);
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    EXPECT_TRUE(exStyle() & WS_EX_TRANSPARENT);
    EXPECT_TRUE(exStyle() & WS_EX_NOACTIVATE);
    RECT r = barRect();
    EXPECT_EQ(SendMessageA(bar(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 100, r.top + 5)), HTTRANSPARENT);
    sendDrag(bar(), 10, 5, 60, 45, 4);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarRect(200, 500, 400, 18, "locked: the drag moved nothing");

    // The settings show it unlocked, with an edge to see it by, until they close.
    LONG_PTR styleWhileOpen = 0;
    uint32_t cornerWhileOpen = 0;
    player.config();
    ASSERT_EQ(runSheet(1,
                       [&](HWND) {
                           player.waitTicks(2, 3000);
                           styleWhileOpen = exStyle();
                           cornerWhileOpen = takeFrame() ? lastFrame.at(0, 0) : 0;
                       }),
              1);
    EXPECT_FALSE(styleWhileOpen & WS_EX_TRANSPARENT);
    EXPECT_EQ(cornerWhileOpen >> 24, 255u) << "framed";
    ASSERT_TRUE(player.waitTicks(2, 3000));
    EXPECT_TRUE(exStyle() & WS_EX_TRANSPARENT) << "locked again";
    ASSERT_TRUE(takeFrame());
    EXPECT_EQ(lastFrame.at(0, 0) >> 24, 0u) << "the edge gone: DesktopBack 0";

    ASSERT_EQ(player.host().fireHotkey("sorvane_lockdesktop"), 1);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    EXPECT_FALSE(exStyle() & WS_EX_TRANSPARENT);
    EXPECT_EQ(iniValue("Locked"), "0") << "saved at once";
    sendDrag(bar(), 10, 5, 60, 45, 4);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    expectBarRect(250, 540, 400, 18, "unlocked: dragged");
}

TEST_F(Desktop, AbsurdPlacesAndSizesGiveAUsableWindowOnTheScreen) {
    struct Case {
        int x, y, width, back;
    };
    for (Case c : {Case{-100000, 100000, 100000, 500}, Case{100000, -100000, 0, -7}, Case{5000, 300, 300, 100}}) {
        restartPlayer();
        desktopIni(c.x, c.y, c.width);
        writeIni("DesktopBack", c.back);
        ASSERT_EQ(player.init(), 0);
        ASSERT_TRUE(player.waitTicks(2, 3000));
        RECT r = barRect(), work = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y << " width " << c.width);
        EXPECT_GE(r.left, work.left);
        EXPECT_GE(r.top, work.top);
        EXPECT_LE(r.right, work.right);
        EXPECT_LE(r.bottom, work.bottom);
        EXPECT_GE(r.right - r.left, 100) << "wide enough to show a line";
        ASSERT_TRUE(takeFrame());
        uint32_t backAlpha = lastFrame.at(lastFrame.width - 1, 0) >> 24;
        EXPECT_EQ(backAlpha, c.back > 100 ? 255u : c.back < 0 ? 0u : 255u) << "DesktopBack within 0..100";
    }
}

TEST_F(Desktop, TheHostsHotkeysShowHideTheLyricsAndFixAndSaveTheTiming) {
    writeIni("Direct", 0);  // a hidden bar hands the foreground on, which Direct mode would follow
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    Image shown = barAt(12000, kStatusTicks + 2);
    ASSERT_GT(countPixels(shown, kSungPixel), 0);

    std::vector<RegisteredHotkey> hotkeys = player.host().hotkeys();
    ASSERT_EQ(hotkeys.size(), 5u);
    EXPECT_EQ(hotkeys[0].id, "Sorvane_ShowHideLyrics");
    for (const RegisteredHotkey& h : hotkeys) {
        EXPECT_EQ(h.name.rfind(L"Sorvane: ", 0), 0u) << h.id << ": named in the interface's language";
        EXPECT_EQ(h.window, bar()) << h.id << ": sent to the bar, not the host";
    }

    ASSERT_EQ(player.host().fireHotkey("Sorvane_ShowHideLyrics"), 1);
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    EXPECT_FALSE(IsWindowVisible(bar())) << "hidden, and no rule shows it again";
    ASSERT_EQ(player.host().fireHotkey("Sorvane_ShowHideLyrics"), 1);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    EXPECT_TRUE(IsWindowVisible(bar()));

    for (const char* id : {"Sorvane_TimingEarlier", "Sorvane_TimingEarlier", "Sorvane_TimingLater"})
        ASSERT_EQ(player.host().fireHotkey(id), 1);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    ASSERT_EQ(player.host().fireHotkey("Sorvane_SaveTiming"), 1);
    ASSERT_TRUE(player.waitTicks(2, 3000));
    std::string saved;
    ASSERT_EQ(readFileBytes(dataPath("song.kra"), saved), 1);
    EXPECT_EQ(saved, "[offset:+100]\r\n" + std::string(kLyrics));

    // A host without the service is asked once and handed nothing; the plug-in runs as ever.
    restartPlayer();
    player.host().offerHotkeys(0);
    addSongWithLyrics("song", kLyrics);
    ASSERT_EQ(player.init(), 0);
    EXPECT_TRUE(player.host().hotkeys().empty());
    EXPECT_EQ(player.host().queryCount(65536), 1);
    EXPECT_GT(countPixels(barAt(12000, kStatusTicks + 2), kSungPixel), 0);
}

// Runs with the others at 96 DPI, and at 192 as e2e.Desktop.dpi192 (Wine's LogPixels set for the
// run): the window, its row and its letters follow the DPI.
TEST_F(Desktop, TheWindowAndItsLettersFollowTheDpi) {
    const char* asked = std::getenv("SORVANE_WINE_DPI");
    const int dpi = asked ? std::atoi(asked) : 96;
    desktopIni(100, 300, 400);
    writeIni("height", 24);
    addSongWithLyrics("song", "[00:10:00]ABCD[00:11:00]EFGH[00:13:00]\r\n");
    ASSERT_EQ(player.init(), 0);
    hold(10500);
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    const int width = 400 * dpi / 96, height = 24 * dpi / 96;
    expectBarRect(100, 300, width, height, "scaled by the monitor's DPI");
    ASSERT_TRUE(takeFrame());
    ASSERT_EQ(lastFrame.width, width);
    ASSERT_EQ(lastFrame.height, height);
    // The outline scales too: 2 pixels at 96 DPI, the middle colour 1 pixel across beside a glyph
    // and the outer colour 1 more; 4 at 192, each band 2 across. The sung letters' and the unsung
    // ones' alike.
    const int outline = 2 * dpi / 96, band = dpi / 96;
    for (OutlineBands bands : {narrowestBands(lastFrame, kSungPixel, 0x787878, 0x0A0A0A),
                               narrowestBands(lastFrame, kUnsungPixel, 0x326432, 0x050A05)}) {
        EXPECT_EQ(bands.middle, band);
        EXPECT_EQ(bands.outer, band);
    }
    // The wipe line is a band as wide as the outline on both sides: the columns that show its
    // colours (the red letters ringed in green-grey) over the letters around the front
    std::set<int> wipeColumns;
    for (int y = 0; y < lastFrame.height; ++y)
        for (int x = 0; x < lastFrame.width; ++x)
            if (lastFrame.at(x, y) == (0xFF000000 | 0xFF0000) || lastFrame.at(x, y) == (0xFF000000 | 0x506E50))
                wipeColumns.insert(x);
    // (a column of the band over a gap between letters shows nothing of it).
    EXPECT_GT(static_cast<int>(wipeColumns.size()), outline);
    EXPECT_LE(static_cast<int>(wipeColumns.size()), 2 * outline);
    // The letters in the font of the scaled row, less the scaled outline above and below, ringed by it.
    const int rows = opaqueRows(lastFrame);
    EXPECT_NEAR(rows, inkRows("ABCDEFGH", height, outline) + 2 * outline, 1);
    if (dpi == 192) {
        EXPECT_GE(rows - 2 * outline, 2 * inkRows("ABCDEFGH", 24) - 1) << "letters twice as tall as at 96 DPI";
    }
}

TEST_F(Desktop, ASkinShowsAtTheBackgroundsOpacityAndOneThatCannotLoadIsNone) {
    desktopIni(100, 200, 300);
    writeIni("DesktopBack", 50);
    writeIni("SkinPath", writeData("skin.bmp", bitmapFileBytes(Image(300, 18, 0x4080C0))));
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    ASSERT_TRUE(takeFrame());
    // 0x4080C0 at alpha 128 (50 %), each byte times 128 / 255, rounded.
    const uint32_t skinPixel = 128u << 24 | 0x20 << 16 | 0x40 << 8 | 0x60;
    EXPECT_EQ(lastFrame.at(0, 0), skinPixel);
    EXPECT_GT(countWhere(lastFrame, skinPixel), 300 * 18 / 2);
    EXPECT_GT(countWhere(lastFrame, 0xFF000000 | kBannerTextPixel), 0) << "the banner's letters opaque over it";

    restartPlayer();
    desktopIni(100, 200, 300);
    writeIni("DesktopBack", 50);
    writeIni("SkinPath", writeData("skin.bmp", "not a bitmap"));
    ASSERT_EQ(player.init(), 0);
    ASSERT_TRUE(player.waitTicks(3, 3000));
    ASSERT_TRUE(takeFrame());
    EXPECT_EQ(lastFrame.at(0, 0), 128u << 24) << "the black background at 50 %, as without a skin";
}
