#pragma once
// The text font and the outlined text every lyrics line is drawn with.
#include <windows.h>

#include <cstdint>
#include <string>

#include "render/LineStyle.h"
#include "utils/GdiGuards.h"

// The font of the lyrics and the title banner: cell height `barHeight` - 4 (the 4 pixels of the
// outline fill the rest of the bar), weight 500, face `face` (render/FontChoice.h chooses it).
// The caller deletes it. Null when the system cannot make it.
HFONT createTextFont(int32_t barHeight, const std::wstring& face);

// A text font kept while its face and the bar's height stay: a line is measured in every frame,
// and making a font each time would cost the tick.
class TextFont {
public:
    // The font for this face and height: the one kept, or a new one in its place (null when the
    // system cannot make it; asked again next time).
    HFONT fontFor(int32_t barHeight, const std::wstring& face);
    void release() { *this = TextFont(); }

private:
    OwnedFont font;
    std::wstring fontFace;
    int32_t fontHeight = 0;
};

// Draws `length` UTF-16 units of text 25 times: 16 passes in the outer colour around the border of a
// 5 x 5 square of offsets, 8 in the middle colour around the 3 x 3 square, and the glyphs in the
// inner colour at (x + 2, y + 2): the outline is kOutlineWidth (LineGeometry.h) on every side. The DC's font,
// background colour and mode are the caller's.
void drawOutlinedText(HDC dc, int x, int y, const ColourTrio& colours, const wchar_t* text, int32_t length);
