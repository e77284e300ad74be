#pragma once
// The text font and the outlined text every lyrics line is drawn with.
#include <windows.h>

#include <cstdint>
#include <string>

#include "render/LineGeometry.h"
#include "render/LineStyle.h"
#include "utils/GdiGuards.h"

// The font of the lyrics and the title banner: cell height `barHeight` less twice `outline` (the
// outline above and below the glyphs fills the rest of the bar), weight 500, face `face`
// (render/FontChoice.h chooses it). The caller deletes it. Null when the system cannot make it.
HFONT createTextFont(int32_t barHeight, const std::wstring& face, int32_t outline = kOutlineWidth);

// A text font kept while its face, the bar's height and the outline stay: a line is measured in
// every frame, and making a font each time would cost the tick.
class TextFont {
public:
    // The font for this face, height and outline: the one kept, or a new one in its place (null
    // when the system cannot make it; asked again next time).
    HFONT fontFor(int32_t barHeight, const std::wstring& face, int32_t outline = kOutlineWidth);
    void release() { *this = TextFont(); }

private:
    OwnedFont font;
    std::wstring fontFace;
    int32_t fontHeight = 0;
    int32_t fontOutline = 0;
};

// Draws `length` UTF-16 units of text with an outline `outline` pixels wide on every side, the
// glyphs in the inner colour at (x + outline, y + outline). A pixel takes the colour of its
// distance to the nearest glyph pixel, counted as the larger of the two axes' distances: the middle
// colour from 1 to half the outline (rounded up), the outer colour beyond, up to the outline. Each
// colour is drawn as the text at every offset of its distances, so the bar's outline of 2 takes 16
// outer passes, 8 middle ones and the glyphs; offsets the next colour covers anyway are left out.
// The DC's font, background colour and mode are the caller's.
void drawOutlinedText(HDC dc, int x, int y, const ColourTrio& colours, const wchar_t* text, int32_t length,
                      int32_t outline = kOutlineWidth);
