#pragma once
// The title banner shown while there is nothing to sing along with: the song's title and artist
// and the plug-in's caption, scrolling endlessly through the bar. The picture has a buffer of its
// own in the drawing surface, and is asked for again only when what it was drawn with changes; a
// surface with a preparer draws it away from the tick, and the bar shows its background until
// it is there.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "render/BannerPicture.h"
#include "render/FramePresenter.h"

class LyricsDocument;
class RenderSurface;
class Settings;

class TitleBanner {
public:
    // Whether the picture must be asked for again: it is not current, or the title or artist,
    // title colour, background colour, bar height or font face changed since it was.
    bool isStale(const LyricsDocument& document, const Settings& settings) const;
    // Asks for the picture of the document's banner (the text five times for Lset 0, else the
    // background alone), and remembers what it asked with.
    void redraw(RenderSurface& surface, const LyricsDocument& document, const Settings& settings);
    // What redraw asks for.
    static BannerContent contentFor(const RenderSurface& surface, const LyricsDocument& document,
                                    const Settings& settings);
    // Builds the surface's finished frame from the picture at the current scroll (the background while the
    // picture is not there yet), over the skin when there is one, and lays the effects over it.
    void compose(RenderSurface& surface, const Settings& settings);
    // Hands the bar-sized picture composed to the presenter (over a blank bottom row when the bar
    // has two).
    void present(RenderSurface& surface, const FramePresenter& presenter, const Settings& settings) const;
    void advanceScroll();

    int valid = 0;  // the picture is current; cleared on song changes and by every lyrics frame

private:
    BannerContent wanted;
    std::optional<std::string> drawnTitle;
    std::optional<std::string> drawnArtist;
    int32_t drawnTitleColour = 0;
    int32_t drawnBackColour = 0;
    int32_t drawnHeight = 0;
    std::string drawnFontName;
    int32_t width = 0;   // pixel width of the banner text
    int32_t scroll = 0;  // the picture moves one pixel every four ticks
};
