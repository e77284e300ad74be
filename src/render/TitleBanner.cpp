#include "render/TitleBanner.h"

#include <algorithm>
#include <string>

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/BannerLayout.h"
#include "render/Effects.h"
#include "render/FontChoice.h"
#include "render/OutlinedText.h"
#include "render/RenderSurface.h"
#include "utils/Text.h"
#include "utils/WinText.h"

bool TitleBanner::isStale(const Settings& settings) const {
    const char* face = settings.FontName ? settings.FontName : "";
    return !valid || pictureLost || settings.ColorTCOLOR != drawnTitleColour || settings.ColorBACK != drawnBackColour ||
           settings.height != drawnHeight || !sameText(face, drawnFontName.c_str());
}

void TitleBanner::redraw(RenderSurface& surface, const LyricsDocument& document, const Settings& settings) {
    pictureLost = 0;
    drawnBackColour = settings.ColorBACK;
    drawnTitleColour = settings.ColorTCOLOR;
    drawnHeight = settings.height;
    drawnFontName = settings.FontName ? settings.FontName : "";

    HDC dc = surface.buffers[kComposeBuffer].dc;
    if (!dc) return;
    // The whole buffer: a bar wider than 80 heights shows columns past them, which would keep an
    // old line or an old background colour.
    surface.fillBackground(kComposeBuffer, 0, 0, surface.bufferWidth, settings.height);

    char* title = document.titleCopy();
    char* artist = document.artistCopy();
    std::wstring text = widen(bannerText(title, artist));
    freeText(title);
    freeText(artist);
    int length = static_cast<int>(text.size());

    std::u16string_view units(reinterpret_cast<const char16_t*>(text.data()), text.size());
    HFONT font = createTextFont(settings.height, faceForText(settings.FontName, units));
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, static_cast<COLORREF>(settings.ColorTCOLOR));
    SetBkColor(dc, 0);
    SetBkMode(dc, TRANSPARENT);

    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
    if (settings.Lset == kShowTitle)
        for (int i = 0; i < kBannerCopies; ++i) TextOutW(dc, bannerCopyX(i, extent.cx), 2, text.c_str(), length);
    SelectObject(dc, previous);
    if (font) DeleteObject(font);
    width = extent.cx;
}

void TitleBanner::compose(RenderSurface& surface, const Settings& settings) const {
    const SurfaceBuffer& picture = surface.buffers[kComposeBuffer];
    if (!picture.dc) return;
    // The sizes are the settings', which differ from the buffers' after the reset key; every copy
    // is cut to the buffers.
    int32_t shift = scroll / 4;
    int32_t barColumns = std::min(settings.width, surface.bufferWidth);
    int32_t columns = std::max(0, std::min(barColumns, surface.bufferWidth - shift));
    int32_t rows = std::min(settings.height, surface.barHeight);
    if (barColumns <= 0 || rows <= 0) return;
    // Scrolled past the picture's end, the rest of the bar is background (black, the key, under a
    // skin), not what the view held before.
    int view = surface.hasSkin() ? kViewBuffer + 1 : kViewBuffer;
    if (columns > 0) BitBlt(surface.buffers[view].dc, 0, 0, columns, rows, picture.dc, shift, 0, SRCCOPY);
    surface.fillBackground(view, columns, 0, barColumns - columns, rows);
    if (surface.hasSkin()) {
        BitBlt(surface.buffers[kViewBuffer].dc, 0, 0, barColumns, rows, surface.skinImage.dc, 0, 0, SRCCOPY);
        GdiFlush();
        overlayKeyed(surface.barArea(kViewBuffer + 1), surface.barArea(kViewBuffer), 0);
    }
    GdiFlush();
    applyEffects(surface.barArea(kViewBuffer), settings.Effects, settings.ColorBACK);
}

void TitleBanner::copyTo(const RenderSurface& surface, HDC dc, int x, int y, const Settings& settings) const {
    const SurfaceBuffer& view = surface.buffers[kViewBuffer];
    if (!view.dc || !dc) return;
    BitBlt(dc, x, y, std::min(settings.width, surface.bufferWidth), std::min(settings.height, surface.barHeight),
           view.dc, 0, 0, SRCCOPY);
}

void TitleBanner::advanceScroll() { scroll = nextBannerScroll(scroll, width); }
