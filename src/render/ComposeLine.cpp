// Building the view of one buffer set for a frame: the after-wipe layer left of the wipe front,
// the before-wipe layer right of it, the wipe line at the front, and the bar-sized window of the
// result (the line centred, or scrolled when it is wider than the bar).
#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/LineStyle.h"
#include "render/OutlinedText.h"
#include "render/RenderSurface.h"
#include "render/WipeScroll.h"
#include "utils/Utf.h"

namespace {

// Measures the UTF-16 prefix that the first `bytes` bytes of the UTF-8 line hold: a mark's
// offset is a byte offset, and one inside a character counts from that character's start.
class DcTextMeasure : public TextMeasure {
public:
    DcTextMeasure(HDC dc, const SetText& text) : dc(dc), text(text) {}
    int32_t extent(int32_t bytes) override {
        size_t units = utf16UnitsBefore(text.text, bytes < 0 ? 0 : static_cast<size_t>(bytes));
        SIZE size = {0, 0};
        GetTextExtentPoint32W(dc, text.wide.c_str(), static_cast<int>(units), &size);
        return size.cx;
    }

private:
    HDC dc;
    const SetText& text;
};

// Columns are bounded by the buffers; the clamp keeps a wipe front past a huge line's end from
// overflowing the arithmetic around it.
int32_t columnLimit(int64_t x) { return x > kMaxBufferWidth + 16 ? kMaxBufferWidth + 16 : static_cast<int32_t>(x); }

}  // namespace

int RenderSurface::composeLine(int set, int32_t positionMs, const LyricsLine* line, const LyricsDocument& document,
                               const Settings& settings) {
    if (!line) return 0;
    if (!hasBuffers()) return 1;
    HDC composeDc = buffers[set + kComposeBuffer].dc;
    const SetText& text = textOf(set, *line, settings);
    HFONT font = createTextFont(barHeight, text.face);
    HGDIOBJ keptFont = SelectObject(composeDc, font);
    DcTextMeasure measure(composeDc, text);

    int32_t wipe = columnLimit(wipePosition(*line, document, settings.TimeType, measure, positionMs, 1));
    int32_t front = wipe + 4;  // the glyphs start at x = 4 in the layers
    int32_t width = line->width;
    int32_t span = columnLimit(int64_t{width} + 8 > barWidth ? int64_t{width} + 8 : barWidth);
    copyColumns(buffers[set + kAfterWipeLayer], 0, set + kComposeBuffer, 0, front);
    copyColumns(buffers[set + kBeforeWipeLayer], front, set + kComposeBuffer, front, span - front);
    if (showsWipeLine(karaokeMode(settings, *line), settings, wipe, width)) {
        copyColumns(buffers[set + kWipeLineLayer], wipe + 1, set + kComposeBuffer, wipe + 1, 4);
    }

    LinePlacement place = {0, 0};
    if (lineFitsBar(width, barWidth)) {
        place = placeLine(width, barWidth, bufferWidth, 0);
    } else {
        int32_t straight = scrollUsesStraightPosition(settings.Wset)
                               ? wipePosition(*line, document, settings.TimeType, measure, positionMs, 0)
                               : 0;
        place = placeLine(width, barWidth, bufferWidth, scrollTarget(settings.Wset, wipe, straight, barWidth));
    }
    fillBackground(set + kViewBuffer, 0, 0, place.x0, barHeight);
    copyColumns(buffers[set + kComposeBuffer], place.source, set + kViewBuffer, place.x0, barWidth - place.x0);

    SelectObject(composeDc, keptFont);
    if (font) DeleteObject(font);
    return 1;
}
