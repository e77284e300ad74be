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
    if (!setContent[set].drawn) {
        // Cleared layers give a bar of their background, however the line would be placed.
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(setContent[set].background));
        RECT bar = {0, 0, barWidth, barHeight};
        if (brush) FillRect(buffers[set + kViewBuffer].dc, &bar, brush);
        if (brush) DeleteObject(brush);
        return 1;
    }
    HDC measureDc = buffers[set + kComposeBuffer].dc;
    const SetText& text = textOf(set, *line, settings);
    HGDIOBJ keptFont = SelectObject(measureDc, fontOf(set, text.face));
    DcTextMeasure measure(measureDc, text);

    int32_t wipe = columnLimit(wipePosition(*line, document, settings.TimeType, measure, positionMs, 1));
    int32_t front = wipe + 4;  // the glyphs start at x = 4 in the layers
    int32_t width = line->width;
    int32_t span = columnLimit(int64_t{width} + 8 > barWidth ? int64_t{width} + 8 : barWidth);
    LinePlacement place = {0, 0};
    if (lineFitsBar(width, barWidth)) {
        place = placeLine(width, barWidth, bufferWidth, 0);
    } else {
        int32_t straight = scrollUsesStraightPosition(settings.Wset)
                               ? wipePosition(*line, document, settings.TimeType, measure, positionMs, 0)
                               : 0;
        place = placeLine(width, barWidth, bufferWidth, scrollTarget(settings.Wset, wipe, straight, barWidth));
    }
    SelectObject(measureDc, keptFont);

    // The composed line is the after-wipe layer left of the wipe front, the before-wipe layer from
    // there on, and the wipe line's band over both; the part of it in view goes straight into the
    // view buffer, right of the margin.
    int view = set + kViewBuffer;
    fillBackground(view, 0, 0, place.x0, barHeight);
    int32_t shown = barWidth - place.x0;
    copyInView(buffers[set + kAfterWipeLayer], 0, front, view, place, shown);
    copyInView(buffers[set + kBeforeWipeLayer], front, span, view, place, shown);
    if (showsWipeLine(karaokeMode(settings, *line), settings, wipe, width)) {
        copyInView(buffers[set + kWipeLineLayer], wipe + 1, wipe + 5, view, place, shown);
    }
    return 1;
}

void RenderSurface::copyInView(const SurfaceBuffer& layer, int32_t from, int32_t to, int view, LinePlacement place,
                               int32_t shown) {
    int64_t first = from > place.source ? from : place.source;
    int64_t end = int64_t{place.source} + shown;
    if (to < end) end = to;
    if (end <= first) return;
    copyColumns(layer, static_cast<int32_t>(first), view, static_cast<int32_t>(place.x0 + (first - place.source)),
                static_cast<int32_t>(end - first));
}

HFONT RenderSurface::fontOf(int set, const std::wstring& face) { return heldFont(setFonts[set], face); }

HFONT RenderSurface::heldFont(SetFont& held, const std::wstring& face) {
    if (!held.font || held.face != face || held.height != barHeight) {
        if (held.font) DeleteObject(held.font);
        held.font = createTextFont(barHeight, face);
        held.face = face;
        held.height = barHeight;
    }
    return held.font;
}
