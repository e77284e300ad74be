// Off-screen pictures change places (a set's text layers and a spare swap them): a buffer keeps
// its DC, bitmap and pixels together wherever it goes, and one replaced releases what it held.
#include "render/SurfaceBuffer.h"

#include <gtest/gtest.h>

#include <utility>

TEST(SurfaceBuffer, MovingAndSwappingKeepDcBitmapAndPixelsTogetherAndReplacingReleases) {
    WindowDc screen(nullptr);
    SurfaceBuffer a = makePixelBuffer(screen, 8, 2);
    SurfaceBuffer b = makePixelBuffer(screen, 4, 2);
    ASSERT_NE(a.pixels, nullptr);
    ASSERT_NE(b.dc, nullptr);
    HDC dc = a.dc;
    HBITMAP bitmap = a.bitmap;
    uint32_t* pixels = a.pixels;
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);

    a.swap(b);
    SurfaceBuffer moved(std::move(b));
    EXPECT_EQ(b.dc, nullptr);
    EXPECT_EQ(b.pixels, nullptr) << "a moved-from buffer must not point at pixels it no longer owns";
    ASSERT_EQ(moved.dc, dc);
    EXPECT_EQ(moved.width, 8);
    SetPixel(moved.dc, 0, 1, RGB(0x10, 0x20, 0x30));  // the bottom row: first in memory
    GdiFlush();
    EXPECT_EQ(pixels[0], 0x00102030u);

    moved = std::move(a);  // the 4 x 2 bitmap replaces the 8 x 2 one, which goes with its DC
    EXPECT_EQ(moved.width, 4);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
    moved.release();
    EXPECT_EQ(moved.dc, nullptr);
    EXPECT_EQ(makePixelBuffer(screen, 0, 2).dc, nullptr);  // a size no bitmap has: nothing, and no DC kept
}
