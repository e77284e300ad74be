#include "render/DisplayStep.h"

#include <gtest/gtest.h>

#include "config/Settings.h"
#include "render/RenderTestLines.h"

namespace {

// Default fade settings: fade-in from s - 40 to s - 20, fade-out from e + 120 to e + 160.
struct DisplayStepTest : ::testing::Test {
    DisplayStepTest() {
        makeTrueClock(document);
        settings.TimeType = 0;
    }
    void addLine(int32_t s, int32_t e) { document.lines.push_back(makeLine("la", {{0, s}, {2, e}})); }
    FadeStart stepAt(int32_t t, DisplayState state) {
        status.displayState = state;
        return decideDisplayStep(status, document, t * 10, settings);
    }
    LyricsDocument document;
    Settings settings;
    DisplayStatus status;
};

}  // namespace

TEST_F(DisplayStepTest, DueWindowWidenedByTheFadeSettings) {
    addLine(1000, 1500);
    EXPECT_EQ(findDueLine(document, 960, settings), -1);
    EXPECT_EQ(findDueLine(document, 961, settings), 0);
    EXPECT_EQ(findDueLine(document, 1659, settings), 0);
    EXPECT_EQ(findDueLine(document, 1660, settings), -1);
    // Through the step: t is positionMs / 10, truncated.
    EXPECT_EQ(decideDisplayStep(status, document, 9610, settings), FadeStart::CrossFade);
    EXPECT_EQ(status.dueLine, 0);
    status.dueLine = 7;
    decideDisplayStep(status, document, 16600, settings);
    EXPECT_EQ(status.dueLine, 7);
}

TEST_F(DisplayStepTest, HigherIndexWinsAndOnlyLinesUpTo500CanBeDue) {
    addLine(1000, 1500);
    addLine(1400, 1800);
    EXPECT_EQ(findDueLine(document, 1450, settings), 1);
    while (document.lineCount() < 502) addLine(5000, 6000);
    EXPECT_EQ(findDueLine(document, 5500, settings), 500);
    LyricsDocument empty;
    EXPECT_EQ(findDueLine(empty, 5500, settings), -1);
}

TEST_F(DisplayStepTest, ClearsOnceWhenNoLineIsDue) {
    addLine(1000, 1500);
    status.dueLine = 0;
    status.shownLine = 0;
    EXPECT_EQ(stepAt(2000, Showing), FadeStart::None);
    EXPECT_EQ(status.displayState, Clearing);
    EXPECT_EQ(status.shownLine, kNoLine);
    EXPECT_EQ(status.dueLine, 0);  // still names the last due line
    status.shownLine = 0;
    stepAt(2000, Blank);
    EXPECT_EQ(status.displayState, Blank);  // already blank: left for the renderer
    EXPECT_EQ(status.shownLine, 0);
}

TEST_F(DisplayStepTest, FadeWindowsOfTheDueLine) {
    addLine(1000, 1500);
    // Fade-in window, 960 < t < 980.
    EXPECT_EQ(stepAt(970, Blank), FadeStart::FadeIn);
    EXPECT_EQ(stepAt(970, FadingOut), FadeStart::FadeIn);
    EXPECT_EQ(stepAt(970, Showing), FadeStart::CrossFade);
    EXPECT_EQ(stepAt(970, Clearing), FadeStart::CrossFade);
    EXPECT_EQ(stepAt(970, FadingIn), FadeStart::None);
    EXPECT_EQ(stepAt(970, CrossFading), FadeStart::None);
    settings.Fade_in = 0;
    EXPECT_EQ(stepAt(970, Blank), FadeStart::None);
    EXPECT_EQ(status.displayState, Blank);
    settings.Fade_in = 1;
    // Steady window, 980 <= t <= 1620: Showing whatever the state, even mid-fade.
    for (int32_t t : {980, 1200, 1620}) {
        for (DisplayState state : {Clearing, Blank, FadingIn, FadingOut, CrossFading}) {
            EXPECT_EQ(stepAt(t, state), FadeStart::None);
            EXPECT_EQ(status.displayState, Showing);
        }
    }
    // Fade-out window, 1620 < t < 1660, only from Showing.
    EXPECT_EQ(stepAt(1640, Showing), FadeStart::FadeOut);
    EXPECT_EQ(stepAt(1640, FadingOut), FadeStart::None);
    EXPECT_EQ(status.displayState, FadingOut);
}

TEST(FadePercent, ElapsedAndRemainingShares) {
    Settings settings;  // fade-in lasts 20 hundredths (200 ms), fade-out 40 (400 ms)
    DisplayStatus status;
    status.fadeStartMs = 10000;
    int32_t p = -1;
    ASSERT_EQ(fadeInPercent(status, 10100, settings, p), 1);
    EXPECT_EQ(p, 50);
    fadeInPercent(status, 9000, settings, p);
    EXPECT_EQ(p, -500);  // a seek backwards: below 0, drawn as the start
    ASSERT_EQ(fadeOutPercent(status, 10100, settings, p), 1);
    EXPECT_EQ(p, 75);
    fadeOutPercent(status, 10399, settings, p);
    EXPECT_EQ(p, 1);  // 399 of 400 ms gone: 99.75 % truncates to 99
    fadeOutPercent(status, 10400, settings, p);
    EXPECT_EQ(p, 0);
}

TEST(FadePercent, ZeroOrNegativeDurationsAndAbsurdSettingsNeverDivideOrOverflow) {
    Settings settings;
    DisplayStatus status;
    int32_t p = 42;
    settings.Fin_End = settings.Fin_Start;
    EXPECT_EQ(fadeInPercent(status, 500, settings, p), 0);
    settings.Fout_End = settings.Fout_Start - 1;
    EXPECT_EQ(fadeOutPercent(status, 500, settings, p), 0);
    EXPECT_EQ(p, 42);
    settings.Fin_Start = INT32_MIN;
    settings.Fin_End = INT32_MAX;
    status.fadeStartMs = INT32_MIN;
    ASSERT_EQ(fadeInPercent(status, INT32_MAX, settings, p), 1);
    EXPECT_EQ(p, 10);  // (2^32 - 1) ms of a fade lasting (2^32 - 1) hundredths
    settings.Fin_Start = 0;
    settings.Fin_End = 1;
    ASSERT_EQ(fadeInPercent(status, INT32_MAX, settings, p), 1);
    EXPECT_EQ(p, INT32_MAX);  // far past the end: still "finished", not wrapped around
}
