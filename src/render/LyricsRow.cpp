#include "render/LyricsRow.h"

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/LineGeometry.h"
#include "render/LineStyle.h"
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

// Columns are bounded by the layers; the clamp keeps a wipe front past a huge line's end from
// overflowing the arithmetic around it.
int32_t columnLimit(int64_t x) { return x > kMaxLayerColumns + 16 ? kMaxLayerColumns + 16 : static_cast<int32_t>(x); }

}  // namespace

bool LyricsRow::makeLayers(HDC windowDc) { return layers.create(windowDc, canvas.barHeight, canvas.outlineWidth); }

void LyricsRow::release() {
    layers.release();
    for (TextFont& font : setFonts) font.release();
}

void LyricsRow::clearSet(int set) {
    clearView(set);
    layers.holdBlank(set, canvas.layerBackground());
}

void LyricsRow::invalidateLines() { shownLine = kNoLine; }

void LyricsRow::clearView(int set) {
    canvas.fillBackground(set + kViewBuffer, 0, 0, canvas.barWidth, canvas.barHeight);
}

int LyricsRow::drawLine(int set, int32_t lineIndex, LyricsDocument* document, const Settings& settings,
                        bool takeOther) {
    clearView(set);
    LyricsLine* line = document ? document->line(lineIndex) : nullptr;
    RowText shown = line ? rowTextFor(*document, lineIndex, role, settings) : RowText{};
    stillSets[set] = shown.still;
    if (!shown.line || !canvas.hasBuffers()) {
        layers.holdBlank(set, canvas.layerBackground());
        setWidths[set] = 0;
        return document ? 1 : 0;
    }
    SIZE extent = layers.holdLine(set, shown, settings, canvas.layerBackground(), takeOther);
    setWidths[set] = extent.cx;
    if (role == RowRole::SungLines) {
        line->width = extent.cx;
        line->height = extent.cy;
    }
    return 1;
}

int LyricsRow::composeLine(int set, int32_t positionMs, const LyricsLine* line, const LyricsDocument& document,
                           const Settings& settings) {
    if (!line) return 0;
    if (!canvas.hasBuffers()) return 1;
    int view = set + kViewBuffer;
    const TextLayers& held = layers.set(set);
    int32_t barWidth = canvas.barWidth, barHeight = canvas.barHeight, outline = canvas.outlineWidth;
    if (!held.content.drawn) {
        // Cleared layers give a bar of their background, however the line would be placed.
        canvas.fillColour(view, 0, 0, barWidth, barHeight, held.content.background);
        return 1;
    }
    int32_t wipe = 0;
    LinePlacement place = {0, 0};
    int32_t width = line->width;
    if (stillSets[set]) {
        // Not wiped: centred, or from its start when it is wider than the bar.
        width = setWidths[set];
        place = placeLine(width, barWidth, held.columns(), 0, outline);
    } else {
        HDC measureDc = canvas.buffers[set + kComposeBuffer].dc;
        const SetText& text = layers.textOf(set, *line, settings);
        SelectedObject font(measureDc, setFonts[set].fontFor(barHeight, text.face, outline));
        DcTextMeasure measure(measureDc, text);
        wipe = columnLimit(wipePosition(*line, document, settings.TimeType, measure, positionMs, 1, outline));
        if (lineFitsBar(width, barWidth, outline)) {
            place = placeLine(width, barWidth, held.columns(), 0, outline);
            if (secondVoiceRight && line->voice == 2) {
                int64_t x0 = int64_t{barWidth} - outlinedLineColumns(width, outline) - kLineTextX;
                place.x0 = x0 > place.x0 ? static_cast<int32_t>(x0) : place.x0;
            }
        } else {
            int32_t straight = scrollUsesStraightPosition(settings.Wset)
                                   ? wipePosition(*line, document, settings.TimeType, measure, positionMs, 0, outline)
                                   : 0;
            place = placeLine(width, barWidth, held.columns(),
                              scrollTarget(settings.Wset, wipe, straight, barWidth, outline), outline);
        }
    }
    int32_t front = wipe + glyphOriginX(outline);
    int64_t composed = composedLineColumns(width, outline);
    int32_t span = columnLimit(composed > barWidth ? composed : barWidth);

    // The composed line is the after-wipe layer left of the wipe front, the before-wipe layer from
    // there on, and the wipe line's band over both; the part of it in view goes straight into the
    // view buffer, right of the margin. Past the layers' last column (a line cut at the widest
    // layers, or layers that could not be made) the bar shows the background.
    canvas.fillBackground(view, 0, 0, place.x0, barHeight);
    int32_t shown = barWidth - place.x0;
    copyInView(held.layers[kAfterWipeLayer], 0, front, view, place, shown);
    copyInView(held.layers[kBeforeWipeLayer], front, span, view, place, shown);
    if (showsWipeLine(karaokeMode(settings, *line), settings, wipe, width)) {
        copyInView(held.layers[kWipeLineLayer], front - wipeLineColumns(outline) + 1, front + 1, view, place, shown);
    }
    int32_t layerEnd = held.columns() - place.source;
    if (layerEnd < shown) {
        int32_t from = place.x0 + (layerEnd > 0 ? layerEnd : 0);
        canvas.fillBackground(view, from, 0, barWidth - from, barHeight);
    }
    return 1;
}

void LyricsRow::copyInView(const SurfaceBuffer& layer, int32_t from, int32_t to, int view, LinePlacement place,
                           int32_t shown) {
    int64_t first = from > place.source ? from : place.source;
    int64_t end = int64_t{place.source} + shown;
    if (to < end) end = to;
    if (end <= first) return;
    copyColumns(layer, static_cast<int32_t>(first), canvas.buffers[view],
                static_cast<int32_t>(place.x0 + (first - place.source)), static_cast<int32_t>(end - first));
}

void LyricsRow::overlaySkin(int set, int32_t percentage) {
    int compose = set + kComposeBuffer, view = set + kViewBuffer;
    copyColumns(canvas.skinImage, 0, canvas.buffers[compose], 0, canvas.barWidth);
    overlayKeyed(canvas.barArea(view), canvas.barArea(compose), percentage);
    // The line over the skin is the view now: the buffers change places instead of copying.
    canvas.buffers[compose].swap(canvas.buffers[view]);
}

void LyricsRow::fadeFrame(int32_t positionMs, const LyricsLine* line, const LyricsDocument* document,
                          const Settings& settings, int32_t shown) {
    if (line) composeLine(0, positionMs, line, *document, settings);
    if (canvas.hasSkin()) {
        overlaySkin(0, 100 - shown);
    } else {
        fadeTowardsBackground(canvas.barArea(kViewBuffer), settings.ColorBACK, shown);
    }
}

RowFrame LyricsRow::drawFrame(int32_t lineIndex, int32_t positionMs, const Settings& settings,
                              LyricsDocument* document) {
    const LyricsLine* fading = document ? document->line(fadeLine) : nullptr;
    int32_t percent = 0;
    switch (displayState) {
    case Clearing:
        drawLine(0, lineIndex, document, settings, true);
        displayState = Blank;
        return RowFrame::Unchanged;
    case Blank:
        if (canvas.hasSkin()) {
            copyColumns(canvas.skinImage, 0, canvas.buffers[kViewBuffer], 0, canvas.barWidth);
        } else {
            canvas.fillBackground(kViewBuffer, 0, 0, canvas.barWidth, canvas.barHeight);
        }
        return RowFrame::Drawn;
    case Showing: {
        const LyricsLine* line = document ? document->line(lineIndex) : nullptr;
        if (!line) return RowFrame::NoLine;
        if (shownLine != lineIndex) {
            shownLine = lineIndex;
            clearSet(1);
            drawLine(0, lineIndex, document, settings, true);
        }
        composeLine(0, positionMs, line, *document, settings);
        if (canvas.hasSkin()) overlaySkin(0, 0);
        return RowFrame::Drawn;
    }
    case FadingIn:
        if (!fadeInPercent(*this, positionMs, settings, percent)) {
            displayState = Showing;
            return RowFrame::Unchanged;
        }
        fadeFrame(positionMs, fading, document, settings, percent);
        if (percent >= 100) displayState = Showing;
        return RowFrame::Drawn;
    case FadingOut:
        if (!fadeOutPercent(*this, positionMs, settings, percent)) {
            displayState = Showing;
            return RowFrame::Unchanged;
        }
        fadeFrame(positionMs, fading, document, settings, percent);
        if (percent <= 0) displayState = Clearing;
        return RowFrame::Drawn;
    case CrossFadeStart:
        // The old line into set 1, most often out of set 0, then the new one into set 0.
        drawLine(1, shownLine, document, settings, true);
        drawLine(0, fadeLine, document, settings, false);
        displayState = CrossFading;
        [[fallthrough]];
    case CrossFading: {
        if (!fadeInPercent(*this, positionMs, settings, percent)) {
            displayState = Showing;
            return RowFrame::Unchanged;
        }
        const LyricsLine* old = document ? document->line(shownLine) : nullptr;
        if (old) composeLine(1, positionMs, old, *document, settings);
        if (fading) composeLine(0, positionMs, fading, *document, settings);
        if (canvas.hasSkin()) {
            overlaySkin(0, 0);
            overlaySkin(1, 0);
        }
        mixBuffers(canvas.barArea(kViewBuffer + 1), canvas.barArea(kViewBuffer), percent);
        if (percent >= 100) displayState = Showing;
        return RowFrame::Drawn;
    }
    default: return RowFrame::Unchanged;
    }
}

void LyricsRow::beginFadeIn(int32_t positionMs, int32_t enable, int32_t lineIndex, LyricsDocument* document,
                            const Settings& settings) {
    drawLine(0, lineIndex, document, settings, true);
    startFade(*this, positionMs, enable, lineIndex, FadingIn, Showing);
}

void LyricsRow::beginCrossFade(int32_t positionMs, int32_t enable, int32_t lineIndex) {
    startFade(*this, positionMs, enable, lineIndex, CrossFadeStart, Showing);
}

void LyricsRow::beginFadeOut(int32_t positionMs, int32_t enable, int32_t lineIndex, LyricsDocument* document,
                             const Settings& settings) {
    drawLine(0, lineIndex, document, settings, true);
    startFade(*this, positionMs, enable, lineIndex, FadingOut, Clearing);
}

void LyricsRow::prepareLines(LayerPreparer* preparer, const LyricsDocument& document, const Settings& settings,
                             std::initializer_list<int32_t> lines) {
    layers.prepareLines(preparer, document, settings, canvas.layerBackground(), lines, role);
}

void LyricsRow::takePrepared(std::unique_ptr<TextLayers> drawn) { layers.takePrepared(std::move(drawn)); }

bool LyricsRow::holdsLines(const LyricsDocument& document, const Settings& settings,
                           std::initializer_list<int32_t> lines) {
    return layers.holdsLines(document, settings, canvas.layerBackground(), lines, role);
}

void LyricsRow::beginFade(FadeStart start, int32_t lineIndex, int32_t positionMs, LyricsDocument& document,
                          const Settings& settings) {
    switch (start) {
    case FadeStart::FadeIn: beginFadeIn(positionMs, 1, lineIndex, &document, settings); break;
    case FadeStart::CrossFade: beginCrossFade(positionMs, 1, lineIndex); break;
    case FadeStart::FadeOut: beginFadeOut(positionMs, settings.Fade_in, lineIndex, &document, settings); break;
    case FadeStart::None: break;
    }
}

void displayStep(LyricsRow& row, LyricsDocument& document, int32_t positionMs, const Settings& settings) {
    // The decision moves the due line on: it is read after it.
    FadeStart start = decideDisplayStep(row, document, positionMs, settings);
    row.beginFade(start, row.dueLine, positionMs, document, settings);
}
