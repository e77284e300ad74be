// A bar of two rows played through, frame by frame, as the tick plays it: which line each row
// shows, and how it gets there.
#include <map>
#include <utility>

#include "render/RenderWinFixture.h"

namespace {

// What a row shows after a frame: its state and the line it shows or fades to.
struct RowShows {
    DisplayState state;
    int32_t line;
    bool operator==(const RowShows& other) const { return state == other.state && line == other.line; }
};
std::ostream& operator<<(std::ostream& out, const RowShows& shows) {
    return out << "state " << shows.state << " line " << shows.line;
}

RowShows showsOf(const LyricsRow& row) {
    bool fading = row.displayState == FadingIn || row.displayState == FadingOut || row.displayState == CrossFading;
    return {row.displayState, fading ? row.fadeLine : row.displayState == Showing ? row.shownLine : kNoLine};
}

class TwoRowsWin : public RenderWin {
protected:
    // Plays from `from` to `to` (hundredths) in frames of 16 ms; returns both rows at every frame.
    std::map<int32_t, std::pair<RowShows, RowShows>> play(int32_t from, int32_t to) {
        std::map<int32_t, std::pair<RowShows, RowShows>> frames;
        for (int32_t positionMs = from * 10; positionMs < to * 10; positionMs += 16) {
            surface.displayStep(document, positionMs, settings);
            EXPECT_EQ(frame(positionMs, surface.row.dueLine), 1);
            frames[positionMs / 10] = {showsOf(surface.row), showsOf(surface.lowerRow)};
        }
        return frames;
    }
    // Both rows at the last frame at or before t.
    static std::pair<RowShows, RowShows> at(const std::map<int32_t, std::pair<RowShows, RowShows>>& frames, int32_t t) {
        return std::prev(frames.upper_bound(t))->second;
    }
};

}  // namespace

TEST_F(TwoRowsWin, AlternatingRowsTakeTheLineAfterNextAndClearTogetherInAGap) {
    settings.Rows = 2;
    settings.SecondRow = kNextLineRow;
    createBuffers();
    ASSERT_TRUE(surface.twoRows());
    // Three lines close together, a gap, and a last line.
    document.lines.push_back(makeLine("ABCD", {{0, 1000}, {4, 1200}}));
    document.lines.push_back(makeLine("EFGH", {{0, 1250}, {4, 1450}}));
    document.lines.push_back(makeLine("IJKL", {{0, 1500}, {4, 1700}}));
    document.lines.push_back(makeLine("MNOP", {{0, 2500}, {4, 2700}}));
    document.lines[1].voice = 2;  // a duet's second singer: at the right end of the row
    auto frames = play(900, 2800);

    using S = std::pair<RowShows, RowShows>;
    EXPECT_EQ(at(frames, 1100), S({Showing, 0}, {Showing, 1})) << "the first two lines fade in together";
    EXPECT_EQ(at(frames, 970), S({FadingIn, 0}, {FadingIn, 1}));
    // Line 1 fades in from 1210: the bottom row already holds it; the top row goes over to line 2.
    EXPECT_EQ(at(frames, 1220).first, RowShows({CrossFading, 2}));
    EXPECT_EQ(at(frames, 1220).second, RowShows({Showing, 1}));
    EXPECT_EQ(at(frames, 1300), S({Showing, 2}, {Showing, 1}));
    // Line 2's turn: the bottom row goes over to the line after the gap.
    EXPECT_EQ(at(frames, 1600), S({Showing, 2}, {Showing, 3}));
    // Line 2 fades out into the gap from 1820, and the next line with it: the gap is blank.
    EXPECT_EQ(at(frames, 1840), S({FadingOut, 2}, {FadingOut, 3}));
    EXPECT_EQ(at(frames, 2000), S({Blank, kNoLine}, {Blank, kNoLine}));
    // The last line fades in on its row; there is nothing to read after it.
    EXPECT_EQ(at(frames, 2470), S({Blank, kNoLine}, {FadingIn, 3}));
    EXPECT_EQ(at(frames, 2600), S({Blank, kNoLine}, {Showing, 3}));
    play(1300, 1301);
    const SurfaceBuffer& bottom = surface.lowerCanvas.frame();
    int32_t rightmost = -1;
    for (int32_t x = 0; x < 245; ++x)
        for (int32_t y = 0; y < 18; ++y)
            if (bottom.pixels[y * bottom.width + x] != static_cast<uint32_t>(kGrey)) rightmost = x;
    EXPECT_GE(rightmost, 245 - 4) << "the second voice's line ends at the row's right end";
    // No row ever shows a line of the other row's turn while it is being sung.
    for (const auto& [t, rows] : frames) {
        if (rows.first.state == Showing) {
            EXPECT_EQ(rows.first.line % 2, 0) << t;
        }
        if (rows.second.state == Showing) {
            EXPECT_EQ(rows.second.line % 2, 1) << t;
        }
    }
}

TEST_F(TwoRowsWin, ARowUnderTheSungLineComesFadesAndGoesWithIt) {
    settings.Rows = 2;
    settings.SecondRow = kTranslationRow;
    createBuffers();
    LyricsLine first = makeLine("ABCD", {{0, 1000}, {4, 1200}});
    first.translation = "abcd";
    document.lines.push_back(first);
    document.lines.push_back(makeLine("EFGH", {{0, 1250}, {4, 1450}}));
    for (const auto& [t, rows] : play(900, 1700)) {
        EXPECT_EQ(rows.second.state, rows.first.state) << t;
        EXPECT_EQ(rows.second.line, rows.first.line) << t;
    }
}
