#include "plugin/DesktopLayout.h"

#include <gtest/gtest.h>

#include "config/Settings.h"

namespace {

void expectRect(const ScreenRect& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

}  // namespace

TEST(DesktopLayout, AWindowAnywhereIsBroughtWhollyIntoTheWorkAreaKeepingWhatFits) {
    const ScreenRect work = {-1920, 0, 0, 1040};  // a monitor left of the primary one, task bar below
    expectRect(keptInside({-100000, 100000, -99000, 100080}, work), -1920, 960, -920, 1040);
    expectRect(keptInside({500, -40, 1500, 40}, work), -1000, 0, 0, 80);
    expectRect(keptInside({-1800, 300, -800, 380}, work), -1800, 300, -800, 380);  // inside: left alone
    expectRect(keptInside({-5000, 10, 95000, 90}, work), -1920, 10, 0, 90);        // wider: narrowed
    // A monitor that reports no area at all still gives one pixel, never an inverted range.
    expectRect(keptInside({10, 10, 500, 90}, {0, 0, 0, 0}), 0, 0, 1, 1);
}

TEST(DesktopLayout, SizesFollowTheMonitorsDpiWithinTheRenderersRows) {
    Settings s;
    s.Desktop_width = 960;
    s.height = 40;
    DesktopSize at192 = desktopSizeAt(s, 192, 160);
    EXPECT_EQ(at192.width, 1920);
    EXPECT_EQ(at192.rowHeight, 80);
    DesktopSize at144 = desktopSizeAt(s, 144, 160);
    EXPECT_EQ(at144.width, 1440);
    EXPECT_EQ(at144.rowHeight, 60);
    EXPECT_EQ(desktopSizeAt(s, 480, 160).rowHeight, 160) << "cut at the tallest row drawn";
    // What a system that does not know answers counts as 96; a garbage width is brought in range.
    s.Desktop_width = -5;
    EXPECT_EQ(desktopSizeAt(s, 0, 160).width, kMinDesktopWidth);
    EXPECT_EQ(desktopSizeAt(s, 100000, 160).rowHeight, 40);
    EXPECT_EQ(unscaledFromDpi(scaledToDpi(731, 120), 120), 731);
}
