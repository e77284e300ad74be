#pragma once
// Where the colour wipe stands in a line at a moment of the song, and which part of a line wider
// than the bar is in view.
//
// The wipe position is counted in pixels from the first glyph column, glyphOriginX in the text
// layers (LineGeometry.h). Every function takes the line's outline width, the bar's by default.
#include <cstdint>

#include "render/LineGeometry.h"

class LyricsDocument;
class LyricsLine;

// The pixel extent of the first `bytes` bytes of the line's text in the text font.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int32_t extent(int32_t bytes) = 0;
};

// Piecewise: the wipe runs in a straight line between each two consecutive marks, reaching each
// mark's text offset at that mark's time. Straight (piecewise 0): one run at constant speed from
// the first mark to the last. 0 before the first mark's time, composedLineColumns(width) after the
// last one.
int32_t wipePosition(const LyricsLine& line, const LyricsDocument& document, int32_t timeType, TextMeasure& measure,
                     int32_t positionMs, int piecewise, int32_t outline = kOutlineWidth);

// The column of the composed line that scrolling keeps in the middle of the bar, by Wset:
// 1 halfway between the wipe front and the constant-speed position plus an eighth of the bar,
// 2 the constant-speed position plus an eighth of the bar, anything else the wipe front.
// `straight` is wipePosition(..., piecewise 0); it is only read for Wset 1 and 2.
int32_t scrollTarget(int32_t wset, int32_t wipeFront, int32_t straight, int32_t barWidth,
                     int32_t outline = kOutlineWidth);
bool scrollUsesStraightPosition(int32_t wset);

// x0: the view column the composed line starts at; source: the first composed column shown.
struct LinePlacement {
    int32_t x0;
    int32_t source;
};

// A line that fits (its outlinedLineColumns within barWidth) is centred; a wider one scrolls so that the target
// column stays in the middle, never showing anything left of its first column or right of its
// last. The view never reaches past the last of the `layerColumns` columns its text layers hold:
// text cut off there (kMaxLayerColumns) is not scrolled into view.
bool lineFitsBar(int32_t lineWidth, int32_t barWidth, int32_t outline = kOutlineWidth);
LinePlacement placeLine(int32_t lineWidth, int32_t barWidth, int32_t layerColumns, int32_t target,
                        int32_t outline = kOutlineWidth);
