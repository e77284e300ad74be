// Lines drawn ahead of need, on another thread, into spare layers: the bar shows exactly what it
// shows when every line is drawn as it is needed, and layers drawn for a song or for settings that
// have changed since are never shown.
#include <algorithm>
#include <thread>

#include "render/RenderWinFixture.h"
#include "render/TitleBanner.h"
#include "subplayer/ImportPatch.h"
#include "utils/Text.h"

namespace {

// Draws on a thread of its own, as the plug-in's worker does, and keeps the drawn layers until
// they are handed back, as the bar does when the worker's message comes.
class ThreadPreparer : public LayerPreparer {
public:
    void prepare(std::unique_ptr<TextLayers> layers) override {
        TextLayers* drawing = layers.get();
        std::thread([drawing] { drawing->draw(); }).join();
        ++prepared;
        drawn.push_back(std::move(layers));
    }
    void prepareBanner(std::unique_ptr<BannerPicture> picture) override {
        BannerPicture* drawing = picture.get();
        std::thread([drawing] { drawing->draw(); }).join();
        banners.push_back(std::move(picture));
    }
    void handBack(RenderSurface& surface) {
        for (std::unique_ptr<TextLayers>& layers : drawn) surface.takePrepared(std::move(layers));
        for (std::unique_ptr<BannerPicture>& picture : banners) surface.takePreparedBanner(std::move(picture));
        drawn.clear();
        banners.clear();
    }

    std::vector<std::unique_ptr<TextLayers>> drawn;
    std::vector<std::unique_ptr<BannerPicture>> banners;
    int prepared = 0;
};

// Text drawn on this thread, the tick's, while counted: a line drawn ahead is drawn on another.
DWORD tickThread = 0;
bool counting = false;
int textDrawnOnTick = 0;
BOOL WINAPI countedTextOut(HDC dc, int x, int y, LPCWSTR text, int length) {
    if (counting && GetCurrentThreadId() == tickThread) ++textDrawnOnTick;
    return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

// The fixture's surface draws every line when it needs it; `ahead` has its lines drawn ahead.
class PreparedLines : public RenderWin {
protected:
    void SetUp() override {
        RenderWin::SetUp();
        ahead.preparer = &preparer;
        // Cross-fades into lines 1 and 2 (line 2 repeats line 0's text), a gap with a fade out and
        // in before line 3, which is wider than the bar and scrolls.
        document.lines.push_back(makeLine("ABCDEFGH", {{0, 1000}, {4, 1200}, {8, 1500}}));
        document.lines.push_back(makeLine(u8"夜空に光る", {{0, 1550}, {6, 1700}, {15, 2000}}));
        document.lines.push_back(makeLine("ABCDEFGH", {{0, 2050}, {8, 2400}}));
        document.lines.push_back(makeLine(std::string(40, 'W'), {{0, 2800}, {20, 3000}, {40, 3200}}));
    }
    void TearDown() override {
        ahead.releaseAll();
        RenderWin::TearDown();
    }
    void createBoth(int32_t width = 245, int32_t height = 18) {
        createBuffers(width, height);
        ahead.createBuffers(window, width, height, settings);
    }
    // One tick on both surfaces, as the plug-in's tick runs it; returns whether the bars agree.
    ::testing::AssertionResult tickBoth(int32_t positionMs) {
        for (RenderSurface* s : {&surface, &ahead}) {
            displayStep(s->row, document, positionMs, settings);
            s->renderFrame(WindowPresenter(window, 0, 0), s->row.dueLine, positionMs, settings, &document);
            s->prepareLines(document, settings, {s->row.dueLine + 1});
        }
        preparer.handBack(ahead);
        if (barPixels(kViewBuffer) == barPixelsOf(ahead, kViewBuffer)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the bars differ at " << positionMs << " ms, state "
                                             << surface.row.displayState << " / " << ahead.row.displayState;
    }

    RenderSurface ahead;
    ThreadPreparer preparer;
};

}  // namespace

TEST_F(PreparedLines, EveryFrameMatchesTheBarThatDrawsEachLineWhenItIsNeeded) {
    std::string skin = tempPath("sorvane-prepared-skin.bmp");
    ASSERT_TRUE(writeBitmapFile(skin, 245, 18, [](int x, int y) { return 0x203040u + x * 0x0100u + y; }));
    for (const std::optional<std::string>& skinPath :
         {std::optional<std::string>(), std::optional<std::string>(skin)}) {
        settings.SkinPath = skinPath;
        createBoth();
        surface.loadSkin(settings);
        ahead.loadSkin(settings);
        for (int32_t positionMs = 9000; positionMs < 34000; positionMs += 16) ASSERT_TRUE(tickBoth(positionMs));
    }
    EXPECT_GE(preparer.prepared, 6) << "the lines and cleared sets were drawn ahead";
}

TEST_F(PreparedLines, LinesDrawnAheadAreNotShownOnceTheColoursFontSizeOrSongChanged) {
    createBoth();
    // Each change comes while line 0 shows and line 1 is drawn ahead; line 1 then comes due.
    auto lineZeroThenOne = [&] {
        for (int32_t positionMs = 11000; positionMs < 12000; positionMs += 16)
            if (!tickBoth(positionMs)) return false;
        return preparer.prepared > 0;
    };
    auto lineOne = [&] {
        for (int32_t positionMs = 17500; positionMs < 18500; positionMs += 16)
            if (!tickBoth(positionMs)) return false;
        return true;
    };
    ASSERT_TRUE(lineZeroThenOne());
    settings.ColorB3 = 0x00C0FF;  // the pages also invalidate the lines; the layers must not rely on it
    EXPECT_TRUE(lineOne()) << "colours";

    ASSERT_TRUE(lineZeroThenOne());
    settings.FontName = "No Such Face Anywhere";
    EXPECT_TRUE(lineOne()) << "font";

    ASSERT_TRUE(lineZeroThenOne());
    ahead.prepareLines(document, settings, {2});
    ASSERT_FALSE(preparer.drawn.empty());
    createBoth(245, 24);  // layers drawn for the old size come back after the buffers changed
    EXPECT_TRUE(lineOne()) << "size";

    ASSERT_TRUE(lineZeroThenOne());
    // Another song's document, as the plug-in adopts it.
    document.lines[1] = makeLine("Another song", {{0, 1550}, {12, 2000}});
    for (RenderSurface* s : {&surface, &ahead}) {
        s->row.dueLine = 0;
        s->row.shownLine = kNoLine;
        s->row.clearSet(0);
        s->row.clearSet(1);
    }
    EXPECT_TRUE(lineOne()) << "song";
}

TEST_F(PreparedLines, TheBannerDrawnAheadShowsTheBackgroundUntilItIsThereAndThenTheSamePicture) {
    createBoth();
    document.title = u8"夜明けの歌";
    TitleBanner now, later;
    auto bannerTick = [&](TitleBanner& banner, RenderSurface& s) {
        if (banner.isStale(document, settings)) banner.redraw(s, document, settings);
        banner.compose(s, settings);
        banner.advanceScroll();
        banner.valid = 1;
    };
    std::vector<uint32_t> background(245 * 18, 0x404040);
    for (const char* title : {u8"夜明けの歌", "Another title"}) {
        document.title = title;
        bannerTick(now, surface);
        bannerTick(later, ahead);
        EXPECT_EQ(barPixelsOf(ahead, kViewBuffer), background) << title << ": not drawn yet";
        EXPECT_NE(barPixels(kViewBuffer), background);
        // Drawn ahead meanwhile; from the next tick on both bars scroll the same picture.
        preparer.handBack(ahead);
        for (int tick = 0; tick < 60; ++tick) {
            bannerTick(now, surface);
            bannerTick(later, ahead);
            ASSERT_EQ(barPixels(kViewBuffer), barPixelsOf(ahead, kViewBuffer)) << title << ", tick " << tick;
        }
    }
}

TEST_F(PreparedLines, EveryRowsFirstLinesAreDrawnAheadSoThatNoTickDrawsThem) {
    document.lines[0].translation = "abcdefgh";
    ImportPatch textOut(GetModuleHandleA(nullptr), "gdi32.dll", "TextOutW", reinterpret_cast<void*>(countedTextOut));
    ASSERT_TRUE(textOut.applied());
    tickThread = GetCurrentThreadId();
    settings.Rows = 2;
    // Lines alternating between the rows, and what goes under the sung line; a display that starts
    // at the first line, and one that starts at the second (the rows the other way round).
    for (int32_t secondRow : {kNextLineRow, kTranslationRow})
        for (int32_t shown : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "SecondRow " << secondRow << ", starting at line " << shown);
            settings.SecondRow = secondRow;
            createBoth();
            // A display starting afresh, as for a song's new lyrics.
            for (RenderSurface* s : {&surface, &ahead})
                for (LyricsRow* row : {&s->row, &s->lowerRow}) static_cast<DisplayStatus&>(*row) = DisplayStatus();
            ahead.prepareFirstLines(document, settings, shown);
            preparer.handBack(ahead);
            EXPECT_TRUE(ahead.holdsFirstLines(document, settings, shown));
            textDrawnOnTick = 0;
            for (int32_t positionMs = shown ? 16000 : 9000; positionMs < (shown ? 17000 : 11000); positionMs += 16) {
                for (RenderSurface* s : {&surface, &ahead}) {
                    counting = s == &ahead;
                    s->displayStep(document, positionMs, settings);
                    s->renderFrame(WindowPresenter(window, 0, 0), s->row.dueLine, positionMs, settings, &document);
                    counting = false;
                }
                GdiFlush();
                const SurfaceBuffer &drawnOnNeed = surface.shownFrame(), &drawnAhead = ahead.shownFrame();
                size_t count = static_cast<size_t>(drawnOnNeed.width) * drawnOnNeed.height;
                ASSERT_TRUE(std::equal(drawnOnNeed.pixels, drawnOnNeed.pixels + count, drawnAhead.pixels))
                    << positionMs;
            }
            EXPECT_EQ(textDrawnOnTick, 0);
        }
}
