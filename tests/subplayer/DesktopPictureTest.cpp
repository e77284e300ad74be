#include "subplayer/DesktopPicture.h"

#include <gtest/gtest.h>

TEST(DesktopPicture, TheWindowLiesOverTheDesktopAsTheCompositorLaysItAndTheViewStopsAtTheScreen) {
    // Opaque text, a background at alpha 0 and one at 102 (40 %), premultiplied.
    Image window(3, 1);
    window.at(0, 0) = 0xFFFF0000;
    window.at(1, 0) = 0x00000000;
    window.at(2, 0) = 0x66141414;  // 0x323232 at 40 %
    Image view = composeOverWallpaper(window, 6, 5, 4, 100, 8);
    // Four pixels of desktop on the left and right, four above, two below (the screen ends).
    ASSERT_EQ(view.width, 3 + 8);
    ASSERT_EQ(view.height, 4 + 1 + 2);
    EXPECT_EQ(view.at(0, 0), wallpaperPixel(2, 1, 100, 8));
    EXPECT_EQ(view.at(4, 4), 0xFF0000u) << "opaque text hides the desktop";
    EXPECT_EQ(view.at(5, 4), wallpaperPixel(7, 5, 100, 8)) << "a clear background shows the desktop as it is";
    uint32_t under = wallpaperPixel(8, 5, 100, 8), mixed = view.at(6, 4);
    for (int shift = 0; shift < 24; shift += 8) {
        int expected = static_cast<int>(0x14 + (under >> shift & 0xFF) * 0.6);
        EXPECT_NEAR(static_cast<int>(mixed >> shift & 0xFF), expected, 1) << "40 % of the background over 60 % desktop";
    }
    // A window off the screen shows nothing rather than a picture of nothing.
    EXPECT_EQ(composeOverWallpaper(window, 200, 5, 4, 100, 8).width, 0);
    // The desktop picture has edges for the see-through parts to show: sky above hills.
    EXPECT_NE(wallpaperPixel(500, 100, 1000, 1000), wallpaperPixel(500, 900, 1000, 1000));
}
