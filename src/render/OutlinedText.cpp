#include "render/OutlinedText.h"

HFONT createTextFont(int32_t barHeight, const std::wstring& face, int32_t outline) {
    return CreateFontW(barHeight - 2 * outline, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
}

HFONT TextFont::fontFor(int32_t barHeight, const std::wstring& face, int32_t outline) {
    if (!font || fontFace != face || fontHeight != barHeight || fontOutline != outline) {
        font.reset(createTextFont(barHeight, face, outline));
        fontFace = face;
        fontHeight = barHeight;
        fontOutline = outline;
    }
    return font;
}

namespace {

// The text at every offset from (x, y) whose larger axis distance is `distance`: the top and bottom
// rows of that square, then its sides.
void drawRing(HDC dc, int x, int y, int32_t distance, const wchar_t* text, int32_t length) {
    for (int32_t i = -distance; i <= distance; ++i) {
        TextOutW(dc, x + i, y - distance, text, length);
        TextOutW(dc, x + i, y + distance, text, length);
    }
    for (int32_t i = -distance + 1; i <= distance - 1; ++i) {
        TextOutW(dc, x - distance, y + i, text, length);
        TextOutW(dc, x + distance, y + i, text, length);
    }
}

}  // namespace

void drawOutlinedText(HDC dc, int x, int y, const ColourTrio& colours, const wchar_t* text, int32_t length,
                      int32_t outline) {
    if (outline < 0) outline = 0;
    int32_t middle = (outline + 1) / 2;
    int glyphX = x + outline, glyphY = y + outline;
    SetTextColor(dc, static_cast<COLORREF>(colours.outer));
    for (int32_t distance = outline; distance > middle; --distance)
        drawRing(dc, glyphX, glyphY, distance, text, length);
    SetTextColor(dc, static_cast<COLORREF>(colours.middle));
    for (int32_t distance = middle; distance >= 1; --distance) drawRing(dc, glyphX, glyphY, distance, text, length);
    SetTextColor(dc, static_cast<COLORREF>(colours.inner));
    TextOutW(dc, glyphX, glyphY, text, length);
}
