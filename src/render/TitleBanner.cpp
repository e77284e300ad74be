#include "render/TitleBanner.h"

#include <algorithm>
#include <string>

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/BannerLayout.h"
#include "render/Effects.h"
#include "render/FontChoice.h"
#include "render/RenderSurface.h"
#include "utils/Text.h"
#include "utils/WinText.h"

bool TitleBanner::isStale(const LyricsDocument& document, const Settings& settings) const {
    const char* face = settings.FontName ? settings.FontName->c_str() : "";
    return !valid || drawnTitle != document.title || drawnArtist != document.artist ||
           settings.ColorTCOLOR != drawnTitleColour || settings.ColorBACK != drawnBackColour ||
           settings.height != drawnHeight || !sameText(face, drawnFontName.c_str());
}

BannerContent TitleBanner::contentFor(const RenderSurface& surface, const LyricsDocument& document,
                                      const Settings& settings) {
    BannerContent content;
    content.drawn = settings.Lset == kShowTitle;
    content.background = surface.hasSkin() ? 0 : surface.backgroundColour;
    content.colour = settings.ColorTCOLOR;
    content.height = settings.height;
    const std::optional<std::string>& title = document.title;
    const std::optional<std::string>& artist = document.artist;
    content.text = widen(bannerText(title ? title->c_str() : nullptr, artist ? artist->c_str() : nullptr));
    std::u16string_view units(reinterpret_cast<const char16_t*>(content.text.data()), content.text.size());
    content.face = faceForText(textOrNull(settings.FontName), units);
    return content;
}

void TitleBanner::redraw(RenderSurface& surface, const LyricsDocument& document, const Settings& settings) {
    drawnTitle = document.title;
    drawnArtist = document.artist;
    drawnBackColour = settings.ColorBACK;
    drawnTitleColour = settings.ColorTCOLOR;
    drawnHeight = settings.height;
    drawnFontName = settings.FontName.value_or("");
    wanted = contentFor(surface, document, settings);
    surface.bannerFor(wanted);
}

void TitleBanner::compose(RenderSurface& surface, const Settings& settings) {
    if (!surface.hasBuffers()) return;
    const BannerPicture* picture = surface.bannerFor(wanted);
    if (picture) width = picture->textWidth;
    // The sizes are the settings', which differ from the buffers' after the reset key; every copy
    // is cut to the buffers.
    int32_t shift = scroll / 4;
    int32_t barColumns = std::min(settings.width, surface.bufferWidth);
    int32_t columns = picture ? std::max(0, std::min(barColumns, picture->picture.width - shift)) : 0;
    int32_t rows = std::min(settings.height, surface.barHeight);
    if (barColumns <= 0 || rows <= 0) return;
    // What GDI drew into the frame last time (the timing note) is in its memory before it is
    // written there.
    GdiFlush();
    // Scrolled past the picture's end, the rest of the bar is background (black, the key, under a
    // skin), not what the view held before.
    int view = surface.hasSkin() ? kViewBuffer + 1 : kViewBuffer;
    if (columns > 0) copyColumns(picture->picture, shift, surface.buffers[view], 0, columns);
    surface.fillBackground(view, columns, 0, barColumns - columns, rows);
    if (surface.hasSkin()) {
        copyColumns(surface.skinImage, 0, surface.buffers[kViewBuffer], 0, barColumns);
        overlayKeyed(surface.barArea(kViewBuffer + 1), surface.barArea(kViewBuffer), 0);
    }
    applyEffects(surface.barArea(kViewBuffer), settings.Effects, settings.ColorBACK);
}

void TitleBanner::present(RenderSurface& surface, const FramePresenter& presenter, const Settings& settings) const {
    surface.presentBanner(presenter, std::min(settings.width, surface.bufferWidth),
                          std::min(settings.height, surface.barHeight), settings);
}

void TitleBanner::advanceScroll() { scroll = nextBannerScroll(scroll, width); }
