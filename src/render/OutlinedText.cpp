#include "render/OutlinedText.h"

HFONT createTextFont(int32_t barHeight, const char* faceName) {
    return CreateFontA(barHeight - 4, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, faceName);
}

int drawOutlinedText(HDC dc, int x, int y, const ColourTrio& colours, const char* text, int32_t length) {
    SetTextColor(dc, static_cast<COLORREF>(colours.outer));
    for (int i = 0; i <= 4; ++i) {
        TextOutA(dc, x + i, y, text, length);
        TextOutA(dc, x + i, y + 4, text, length);
    }
    for (int i = 0; i <= 2; ++i) {
        TextOutA(dc, x, y + 1 + i, text, length);
        TextOutA(dc, x + 4, y + 1 + i, text, length);
    }
    SetTextColor(dc, static_cast<COLORREF>(colours.middle));
    for (int i = 0; i <= 2; ++i) {
        TextOutA(dc, x + 1 + i, y + 1, text, length);
        TextOutA(dc, x + 1 + i, y + 3, text, length);
    }
    TextOutA(dc, x + 1, y + 2, text, length);
    TextOutA(dc, x + 3, y + 2, text, length);
    SetTextColor(dc, static_cast<COLORREF>(colours.inner));
    TextOutA(dc, x + 2, y + 2, text, length);
    return 1;
}
