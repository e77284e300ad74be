#include "render/OutlinedText.h"

HFONT createTextFont(int32_t barHeight, const std::wstring& face) {
    return CreateFontW(barHeight - 4, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
}

HFONT TextFont::fontFor(int32_t barHeight, const std::wstring& face) {
    if (!font || fontFace != face || fontHeight != barHeight) {
        font.reset(createTextFont(barHeight, face));
        fontFace = face;
        fontHeight = barHeight;
    }
    return font;
}

void drawOutlinedText(HDC dc, int x, int y, const ColourTrio& colours, const wchar_t* text, int32_t length) {
    SetTextColor(dc, static_cast<COLORREF>(colours.outer));
    for (int i = 0; i <= 4; ++i) {
        TextOutW(dc, x + i, y, text, length);
        TextOutW(dc, x + i, y + 4, text, length);
    }
    for (int i = 0; i <= 2; ++i) {
        TextOutW(dc, x, y + 1 + i, text, length);
        TextOutW(dc, x + 4, y + 1 + i, text, length);
    }
    SetTextColor(dc, static_cast<COLORREF>(colours.middle));
    for (int i = 0; i <= 2; ++i) {
        TextOutW(dc, x + 1 + i, y + 1, text, length);
        TextOutW(dc, x + 1 + i, y + 3, text, length);
    }
    TextOutW(dc, x + 1, y + 2, text, length);
    TextOutW(dc, x + 3, y + 2, text, length);
    SetTextColor(dc, static_cast<COLORREF>(colours.inner));
    TextOutW(dc, x + 2, y + 2, text, length);
}
