// The outline around text, at the bar's width and at the wider ones of high-DPI monitors: every
// pixel takes the colour of its distance to the nearest glyph pixel (the larger of the two axes'),
// checked against that distance worked out from the glyphs drawn alone. Strokes and dots one pixel
// wide show any distance the passes leave out.
#include "render/OutlinedText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "render/SurfaceBuffer.h"

TEST(OutlinedText, EveryPixelTakesTheColourOfItsDistanceToTheGlyphsAtEveryWidth) {
    const int32_t width = 90, height = 40;
    WindowDc screen(nullptr);
    // Whole pixels only, so that the glyphs drawn alone are a clean mask.
    OwnedFont font(CreateFontW(-11, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma"));
    const wchar_t text[] = L"il.:|Ag,";
    const int length = static_cast<int>(wcslen(text));
    for (int32_t outline : {0, 1, 2, 3, 4, 6}) {
        SurfaceBuffer glyphs = makePixelBuffer(screen, width, height),
                      outlined = makePixelBuffer(screen, width, height);
        ASSERT_TRUE(glyphs.pixels && outlined.pixels);
        SelectedObject fonts[] = {{glyphs.dc, font}, {outlined.dc, font}};
        for (SurfaceBuffer* buffer : {&glyphs, &outlined}) {
            fillRectangle(*buffer, 0, 0, width, height, 0);
            SetBkMode(buffer->dc, TRANSPARENT);
        }
        SetTextColor(glyphs.dc, 0xFFFFFF);
        TextOutW(glyphs.dc, 10 + outline, 10 + outline, text, length);
        drawOutlinedText(outlined.dc, 10, 10, {0x0000FF, 0x00FF00, 0xFFFFFF}, text, length, outline);
        GdiFlush();
        int wrong = 0, glyphPixels = 0;
        for (int32_t i = 0; i < width * height; ++i) {
            int32_t x = i % width, y = i / width, nearest = outline + 1;
            for (int32_t gy = std::max(0, y - outline); gy <= std::min(height - 1, y + outline); ++gy)
                for (int32_t gx = std::max(0, x - outline); gx <= std::min(width - 1, x + outline); ++gx)
                    if (glyphs.pixels[gy * width + gx])
                        nearest = std::min(nearest, std::max(std::abs(gx - x), std::abs(gy - y)));
            // The glyphs in the inner colour, the middle colour out to half the outline (rounded
            // up), the outer colour beyond; the pixels are 0x00RRGGBB.
            uint32_t expected = nearest > outline              ? 0
                                : nearest == 0                 ? 0xFFFFFF
                                : nearest <= (outline + 1) / 2 ? 0x00FF00
                                                               : 0xFF0000;
            glyphPixels += nearest == 0;
            if (outlined.pixels[i] != expected && ++wrong == 1)
                ADD_FAILURE() << "outline " << outline << ": pixel " << i << " is " << std::hex << outlined.pixels[i];
        }
        EXPECT_GT(glyphPixels, 40);
        EXPECT_EQ(wrong, 0) << "outline " << outline;
    }
}
