#pragma once
// The title banner shown while there is nothing to sing along with: the song's title and artist
// and the plug-in's caption, scrolling endlessly through the bar. The picture lives in compose
// buffer 6 and is redrawn only when what it was drawn with changes.
#include <windows.h>

#include <cstdint>
#include <string>

class LyricsDocument;
class RenderSurface;
class Settings;

class TitleBanner {
public:
    // Whether the picture must be drawn again: it is not current, or the title colour, background
    // colour, bar height or font face changed since it was drawn.
    bool isStale(const Settings& settings) const;
    // Draws the text five times into compose buffer 6 (Lset 0), or leaves the background alone
    // (Lset 1 and 2), and remembers what it was drawn with.
    void redraw(RenderSurface& surface, const LyricsDocument& document, const Settings& settings);
    // Builds view buffer 8 from the picture at the current scroll, over the skin when there is
    // one, and lays the effects over it.
    void compose(RenderSurface& surface, const Settings& settings) const;
    // Copies the bar-sized picture from view buffer 8 to (x, y) of dc.
    void copyTo(const RenderSurface& surface, HDC dc, int x, int y, const Settings& settings) const;
    void advanceScroll();

    int valid = 0;  // the picture is current; cleared on song changes and by every lyrics frame
    // Compose buffer 6 was cleared under a current picture (a document adopted between two banner
    // frames): it is drawn again, without counting as a change of what the bar shows.
    int pictureLost = 0;

private:
    int32_t drawnTitleColour = 0;
    int32_t drawnBackColour = 0;
    int32_t drawnHeight = 0;
    std::string drawnFontName;
    int32_t width = 0;   // pixel width of the banner text
    int32_t scroll = 0;  // the picture moves one pixel every four ticks
};
