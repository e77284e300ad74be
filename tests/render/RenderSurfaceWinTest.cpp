// The drawing surface's buffers and skins against the real GDI: sizes sane and absurd, releasing,
// and no handle left behind by thousands of frames.
#include "render/RenderWinFixture.h"

TEST_F(RenderWin, BuffersAreTheBarWideAndTheBannerEightyBarHeights) {
    createBuffers(245, 18);
    EXPECT_EQ(surface.bufferWidth, 245);
    ASSERT_TRUE(surface.hasBuffers());
    for (int k = 0; k < kBufferCount; ++k) EXPECT_NE(surface.buffers[k].dc, nullptr) << k;
    for (int k = kComposeBuffer; k < kBufferCount; ++k) EXPECT_NE(surface.buffers[k].pixels, nullptr) << k;
    for (int set = 0; set < 2; ++set)
        for (const SurfaceBuffer& layer : surface.row.layers.set(set).layers) EXPECT_NE(layer.pixels, nullptr) << set;
    // Freshly cleared to ColorBACK (no skin yet).
    EXPECT_EQ(barPixels(kViewBuffer + 1)[0], 0x00404040u);
    // The banner's text scrolls through a picture eighty bar heights wide, or the bar's width.
    BannerContent banner;
    banner.height = 18;
    ASSERT_NE(surface.bannerFor(banner), nullptr);
    EXPECT_EQ(surface.bannerFor(banner)->picture.width, 1440);
    createBuffers(3000, 18);
    EXPECT_EQ(surface.bufferWidth, 3000);
    EXPECT_EQ(surface.bannerFor(banner)->picture.width, 3000);
}

TEST_F(RenderWin, AbsurdSizesNeverCrashAndDrawNothingOrAWholeBuffer) {
    document.lines.push_back(makeLine("ABCDEFGH", {{0, 1000}, {8, 1200}}));
    struct Size {
        int32_t width, height;
        bool buffers;
    };
    for (Size size : {Size{1000000, 18, true}, Size{245, 100000, false}, Size{245, 0, false}, Size{-5, 18, false},
                      Size{10000, 80, true}, Size{0, 18, true}}) {
        createBuffers(size.width, size.height);
        EXPECT_EQ(surface.hasBuffers(), size.buffers) << size.width << " x " << size.height;
        EXPECT_LE(surface.bufferWidth, kMaxBufferWidth);
        settings.Effects = 2;
        for (DisplayState state : {Clearing, Blank, Showing, FadingIn, FadingOut, CrossFadeStart}) {
            surface.row.displayState = state;
            surface.row.fadeStartMs = 10000;
            surface.row.shownLine = kNoLine;
            frame(10100, 0);
        }
    }
}

TEST_F(RenderWin, ReleasingTwiceAndLoadingBadSkinsAreHarmless) {
    createBuffers();
    EXPECT_EQ(surface.loadSkin(settings), 0);  // no SkinPath
    settings.SkinPath = "C:\\no such folder\\skin.bmp";
    EXPECT_EQ(surface.loadSkin(settings), 0);
    EXPECT_FALSE(surface.hasSkin());
    surface.loadHostSkin(std::string(400, 'x'));  // a relative path that long names no file
    EXPECT_EQ(surface.hostSkinImage.dc, nullptr);
    surface.loadHostSkin("C:\\" + std::string(40000, 'x'));  // past the system's limit
    EXPECT_EQ(surface.hostSkinImage.dc, nullptr);
    surface.loadHostSkin("");
    EXPECT_EQ(surface.hostSkinImage.dc, nullptr);
    surface.releaseAll();
    surface.releaseAll();
    EXPECT_FALSE(surface.hasBuffers());
    EXPECT_EQ(surface.backgroundBrush, nullptr);
    EXPECT_EQ(surface.renderFrame(WindowPresenter(window, 0, 0), 0, 0, settings, &document), 1);
}

TEST_F(RenderWin, SkinsAreNeverStretchedPastTheWidestBuffer) {
    std::string path = tempPath("sorvane-surface-skin.bmp");
    ASSERT_TRUE(writeBitmapFile(path, 4, 4, [](int, int) { return 0x00808080u; }));
    settings.SkinPath = path;
    settings.width = 1000000;
    EXPECT_EQ(surface.loadSkin(settings), 1);
    EXPECT_EQ(surface.skinImage.width, kMaxBufferWidth);
    settings.height = 100000;
    EXPECT_EQ(surface.loadSkin(settings), 0);
    EXPECT_FALSE(surface.hasSkin());
    DeleteFileA(path.c_str());
}

TEST_F(RenderWin, ReplacingTheBrushRecoloursLaterClears) {
    createBuffers();
    surface.replaceBackgroundBrush(0x0000FF);
    surface.row.clearSet(0);
    EXPECT_EQ(barPixels(kViewBuffer)[0], 0x00FF0000u);
    EXPECT_EQ(barPixels(kViewBuffer + 1)[0], 0x00404040u);
}

TEST_F(RenderWin, ThousandsOfFramesAndLineChangesLeaveNoGdiObjectBehind) {
    createBuffers();
    for (int i = 0; i < 20; ++i) {
        int32_t s = 1000 + i * 300;
        document.lines.push_back(
            makeLine("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", {{0, s}, {18, s + 100}, {36, s + 250}}));
    }
    settings.Effects = 4;
    auto play = [&] {
        for (int32_t positionMs = 9000; positionMs < 9000 + 20 * 3000 + 3000; positionMs += 16) {
            displayStep(surface.row, document, positionMs, settings);
            frame(positionMs, surface.row.dueLine);
        }
    };
    play();  // the first run may create objects the system keeps (fonts cached and the like)
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    play();
    DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (before == 0) GTEST_SKIP() << "the system does not count GDI objects";
    EXPECT_EQ(after, before);
}
