// Real lines rendered into real buffers: the wipe, centring, scrolling, fades, cross-fades and the
// walk through the display states, checked pixel by pixel.
#include <algorithm>

#include "render/Effects.h"
#include "render/LineGeometry.h"
#include "render/PixelPasses.h"
#include "render/RenderWinFixture.h"
#include "render/WipeScroll.h"

namespace {

const std::string kShortText = "ABCDEFGH";

struct ColumnColours {
    bool red = false, green = false, blue = false;
};

// Which of the layer colours appear in each column of the bar.
std::vector<ColumnColours> columnColours(const std::vector<uint32_t>& bar, int32_t width) {
    std::vector<ColumnColours> columns(width);
    for (size_t i = 0; i < bar.size(); ++i) {
        ColumnColours& c = columns[i % width];
        c.red |= reddish(bar[i]);
        c.green |= greenish(bar[i]);
        c.blue |= bluish(bar[i]);
    }
    return columns;
}

}  // namespace

TEST_F(RenderWin, WipeSplitsTheCentredLineIntoAfterAndBeforeColours) {
    createBuffers();
    document.lines.push_back(makeLine(kShortText, {{0, 1000}, {4, 1100}, {8, 1200}}));
    std::vector<uint32_t> bar = showing(0, 11000);  // t = 1100: the wipe stands at 4 bytes
    const LyricsLine& line = *document.line(0);
    ASSERT_GT(line.width, 20);
    EXPECT_EQ(line.width, textExtent(kShortText, 8));
    EXPECT_GT(line.height, 0);
    int32_t wipe = textExtent(kShortText, 4);
    int32_t x0 = (245 - line.width - 6) / 2;

    std::vector<ColumnColours> columns = columnColours(bar, 245);
    for (int32_t x = 0; x < 245; ++x) {
        const ColumnColours& c = columns[x];
        if (x < x0 || x >= x0 + line.width + 6) {
            EXPECT_FALSE(c.red || c.green || c.blue) << "margin column " << x;
        } else if (x < x0 + wipe + 1) {
            EXPECT_FALSE(c.green || c.blue) << "sung column " << x;
        } else if (x < x0 + wipe + 5) {
            EXPECT_FALSE(c.red || c.green) << "wipe line column " << x;  // the 4-column band
        } else {
            EXPECT_FALSE(c.red || c.blue) << "unsung column " << x;
        }
    }
    int red = 0, green = 0;
    for (const ColumnColours& c : columns) red += c.red, green += c.green;
    EXPECT_GT(red, 5);
    EXPECT_GT(green, 5);
    EXPECT_EQ(bar[0], 0x00404040u);  // the background, ColorBACK as a pixel
}

TEST_F(RenderWin, LinesWithoutKaraokeColouringShowNoWipe) {
    createBuffers();
    document.lines.push_back(makeLine(kShortText, {{0, 1000}, {8, 1200}}, 0));
    for (const ColumnColours& c : columnColours(showing(0, 11000), 245)) {
        EXPECT_FALSE(c.red || c.blue);
    }
    // Past the last mark the whole line is in the after-wipe colours, without a wipe line.
    document.lines[0].isKaraoke = 1;
    surface.row.shownLine = kNoLine;
    for (const ColumnColours& c : columnColours(showing(0, 12010), 245)) {
        EXPECT_FALSE(c.green || c.blue);
    }
}

TEST_F(RenderWin, WideLinesScrollWithTheWipe) {
    settings.Wset = 0;
    createBuffers();
    std::string text;
    for (int i = 0; i < 6; ++i) text += "ABCDEFGHIJ";
    document.lines.push_back(makeLine(text, {{0, 1000}, {30, 1100}, {60, 1200}}));
    std::vector<uint32_t> bar = showing(0, 11000);
    const LyricsLine& line = *document.line(0);
    ASSERT_GT(line.width + 6, 245) << "the test line must be wider than the bar";
    int32_t wipe = textExtent(text, 30);
    LinePlacement place = placeLine(line.width, 245, surface.row.layers.set(0).columns(), wipe + 4);
    ASSERT_GT(place.source, 0);
    // The same moment on a bar wide enough for the whole line, which is centred there: the narrow
    // bar shows the stretch of it that starts `source` columns into the line.
    std::vector<std::vector<uint32_t>> narrow;
    for (int32_t row = 0; row < 18; ++row) narrow.push_back(pictureRow(kViewBuffer, row));
    createBuffers(1000);
    showing(0, 11000);
    int32_t x0 = (1000 - line.width - 6) / 2;
    for (int32_t row = 0; row < 18; ++row) {
        std::vector<uint32_t> whole = pictureRow(kViewBuffer, row);
        ASSERT_TRUE(std::equal(narrow[row].begin(), narrow[row].end(), whole.begin() + x0 + place.source))
            << "row " << row;
    }
}

TEST_F(RenderWin, TextLayersFitTheirLineUpToTheWidestLayers) {
    settings.Wset = 0;  // the wipe front in the middle of the bar
    createBuffers(245, 18);
    std::string wide;
    for (int i = 0; i < 30; ++i) wide += "ABCDEFGHIJ";
    document.lines.push_back(makeLine(wide, {{0, 1000}, {290, 1100}, {300, 1200}}));
    document.lines.push_back(makeLine("AB", {{0, 1300}, {2, 1400}}));
    document.lines.push_back(makeLine(std::string(2000, 'W'), {{0, 1500}, {2000, 1600}}));
    auto layerColumns = [&] { return surface.row.layers.set(0).columns(); };

    // Wider than eighty bar heights, where the layers used to end: its last word scrolls into
    // view and is sung there, the wipe line and the unsung rest right of the sung part.
    std::vector<uint32_t> lastWord = showing(0, 11500);
    ASSERT_GT(document.line(0)->width, 1440);
    EXPECT_GE(layerColumns(), document.line(0)->width + 6);
    std::vector<ColumnColours> columns = columnColours(lastWord, 245);
    int32_t wipeLine = -1;
    for (int32_t x = 0; x < 245; ++x)
        if (columns[x].blue) wipeLine = x;
    ASSERT_GT(wipeLine, 150);
    for (int32_t x = 0; x < 245; ++x) {
        EXPECT_FALSE(x < wipeLine - 4 && columns[x].green) << x;
        EXPECT_FALSE(x > wipeLine && columns[x].red) << x;
    }
    EXPECT_TRUE(columns[wipeLine + 5].green || columns[wipeLine + 6].green);

    // A short line takes narrower layers, and the bar beside it is background: nothing of the wide
    // line stays there.
    surface.row.shownLine = kNoLine;
    std::vector<uint32_t> shortLine = showing(1, 13000);
    EXPECT_LT(layerColumns(), 245);
    int32_t x0 = (245 - document.line(1)->width - 6) / 2;
    for (int32_t row = 0; row < 18; ++row)
        for (int32_t x : {0, x0 - 1, x0 + document.line(1)->width + 6, 244})
            EXPECT_EQ(shortLine[row * 245 + x], 0x00404040u) << "row " << row << " column " << x;

    // Wider than the widest layers: cut there, and the scroll stops at the cut.
    surface.row.shownLine = kNoLine;
    for (int32_t wset : {0, 1, 2}) {
        settings.Wset = wset;
        for (int32_t positionMs : {14000, 15500, 15900}) showing(2, positionMs);
    }
    std::vector<uint32_t> cut = showing(2, 17000);
    EXPECT_GT(document.line(2)->width, kMaxLayerColumns);
    EXPECT_EQ(layerColumns(), kMaxLayerColumns);
    EXPECT_TRUE(columnColours(cut, 245)[244].red) << "the text runs on to the bar's edge where it was cut";
}

TEST_F(RenderWin, FadesFollowTheirPercentages) {
    createBuffers();
    document.lines.push_back(makeLine(kShortText, {{0, 1000}, {8, 1200}}));
    std::vector<uint32_t> composed = showing(0, 20000);  // past the end: a still picture
    surface.row.beginFadeIn(19900, 1, 0, &document, settings);
    frame(20000, 0);  // 100 of 200 ms
    std::vector<uint32_t> fadingIn = barPixels(kViewBuffer);
    EXPECT_EQ(surface.row.displayState, FadingIn);
    frame(20100, 0);
    EXPECT_EQ(surface.row.displayState, Showing);  // 100 % reached
    surface.row.beginFadeOut(19900, 1, 0, &document, settings);
    ASSERT_EQ(surface.row.displayState, FadingOut);
    frame(20000, 0);  // 100 of 400 ms gone: 75 % remains
    std::vector<uint32_t> fadingOut = barPixels(kViewBuffer);
    for (size_t i = 0; i < composed.size(); ++i) {
        ASSERT_EQ(fadingIn[i], mixColour(kGrey, composed[i], 50)) << i;
        ASSERT_EQ(fadingOut[i], mixColour(kGrey, composed[i], 75)) << i;
    }
    frame(20300, 0);
    EXPECT_EQ(surface.row.displayState, Clearing);  // nothing remains
}

TEST_F(RenderWin, SkinShowsUnderTheTextAndFadesTakeTheSkinAsBackground) {
    std::string path = tempPath("sorvane-render-skin.bmp");
    // A skin of another size, stretched to the bar: a gradient with no pure black in it.
    ASSERT_TRUE(writeBitmapFile(path, 100, 10, [](int x, int y) { return 0x102030u + x * 0x010000u + y * 0x0101u; }));
    settings.SkinPath = path;
    createBuffers();
    ASSERT_EQ(surface.loadSkin(settings), 1);
    EXPECT_EQ(surface.skinImage.width, 245);
    EXPECT_EQ(surface.skinImage.height, 18);
    document.lines.push_back(makeLine(kShortText, {{0, 1000}, {8, 1200}}));

    surface.row.displayState = Blank;
    frame(20000, 0);
    std::vector<uint32_t> skin = barPixels(kViewBuffer);
    std::vector<uint32_t> shown = showing(0, 20000);
    EXPECT_EQ(shown[0], skin[0]);  // black text background is transparent
    size_t differing = 0;
    for (size_t i = 0; i < shown.size(); ++i) differing += shown[i] != skin[i];
    EXPECT_GT(differing, 20u);

    surface.row.beginFadeIn(19900, 1, 0, &document, settings);
    frame(19950, 0);  // 25 %: the text keeps 25 % over the skin
    std::vector<uint32_t> fading = barPixels(kViewBuffer);
    for (size_t i = 0; i < shown.size(); ++i) ASSERT_EQ(fading[i], mixPixels(shown[i], skin[i], 75)) << i;

    // Frames later, with an effect laid over each: every frame starts afresh from the layers and
    // the skin, never from what the frame before left in the buffers.
    settings.Effects = 3;
    frame(19950, 0);
    frame(19950, 0);
    std::vector<uint32_t> expected = fading;
    applyEffects({expected.data(), 245, 245, 18}, 3, settings.ColorBACK);
    EXPECT_EQ(barPixels(kViewBuffer), expected);
    DeleteFileA(path.c_str());
}

TEST_F(RenderWin, CrossFadeBlendsTheOldLineIntoTheNewOne) {
    createBuffers();
    document.lines.push_back(makeLine(kShortText, {{0, 1000}, {8, 1200}}));
    document.lines.push_back(makeLine("XYZ", {{0, 1300}, {3, 1400}}));
    std::vector<uint32_t> oldLine = showing(0, 20000);
    surface.row.shownLine = kNoLine;
    std::vector<uint32_t> newLine = showing(1, 20000);

    surface.row.shownLine = 0;
    surface.row.beginCrossFade(19900, 1, 1);
    ASSERT_EQ(surface.row.displayState, CrossFadeStart);
    frame(20000, 1);  // 100 of 200 ms
    EXPECT_EQ(surface.row.displayState, CrossFading);
    std::vector<uint32_t> blended = barPixels(kViewBuffer);
    for (size_t i = 0; i < blended.size(); ++i) ASSERT_EQ(blended[i], mixPixels(oldLine[i], newLine[i], 50)) << i;
    frame(20100, 1);
    EXPECT_EQ(surface.row.displayState, Showing);
    EXPECT_EQ(barPixels(kViewBuffer), newLine);
}

TEST_F(RenderWin, FadesWithoutDurationEndAtOnceInShowing) {
    createBuffers();
    document.lines.push_back(makeLine(kShortText, {{0, 1000}, {8, 1200}}));
    settings.Fin_End = settings.Fin_Start;
    settings.Fout_End = settings.Fout_Start;
    for (DisplayState state : {FadingIn, FadingOut, CrossFadeStart}) {
        surface.row.displayState = state;
        surface.row.fadeLine = 0;
        EXPECT_EQ(frame(15000, 0), 1);
        EXPECT_EQ(surface.row.displayState, Showing) << state;
    }
    surface.row.beginFadeOut(15000, 0, 0, &document, settings);  // fades off: straight to Clearing
    EXPECT_EQ(surface.row.displayState, Clearing);
    surface.row.displayState = Showing;
    EXPECT_EQ(frame(15000, 5), 0);  // no such line: nothing drawn
    EXPECT_EQ(surface.renderFrame(WindowPresenter(window, 0, 0), 0, 15000, settings, nullptr), 0);
}

TEST_F(RenderWin, TicksWalkThroughEveryDisplayState) {
    createBuffers();
    document.lines.push_back(makeLine(kShortText, {{0, 1000}, {8, 1500}}));
    document.lines.push_back(makeLine("XYZ", {{0, 1550}, {3, 2000}}));
    std::vector<int32_t> states;
    auto note = [&](int32_t state) {
        if (states.empty() || states.back() != state) states.push_back(state);
    };
    note(surface.row.displayState);
    for (int32_t positionMs = 9000; positionMs < 23000; positionMs += 16) {
        displayStep(surface.row, document, positionMs, settings);
        note(surface.row.displayState);
        frame(positionMs, surface.row.dueLine);
        note(surface.row.displayState);
    }
    EXPECT_EQ(states, (std::vector<int32_t>{Clearing, Blank, FadingIn, Showing, CrossFadeStart, CrossFading, Showing,
                                            FadingOut, Clearing, Blank}));
    EXPECT_EQ(surface.row.shownLine, kNoLine);
}
