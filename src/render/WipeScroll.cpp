#include "render/WipeScroll.h"

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"

namespace {

// Offsets come from the lyrics file; a bad one never makes us measure outside the text.
int32_t measuredOffset(const LyricsLine& line, int32_t offset) {
    int32_t size = static_cast<int32_t>(line.text.size());
    if (offset < 0) return 0;
    return offset > size ? size : offset;
}

int32_t clampToInt32(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t wipePosition(const LyricsLine& line, const LyricsDocument& document, int32_t timeType, TextMeasure& measure,
                     int32_t positionMs, int piecewise, int32_t outline) {
    const TimeMark* first = line.mark(0);
    if (!first) return 0;
    int32_t t = positionMs / 10;
    if (t < document.displayTime(*first, timeType)) return 0;
    if (t > document.displayTime(*line.mark(kLastIndex), timeType))
        return clampToInt32(composedLineColumns(line.width, outline));

    const TimeMark* a = first;
    const TimeMark* b = line.mark(kLastIndex);
    if (piecewise) {
        int32_t last = static_cast<int32_t>(line.marks.size()) - 1;
        int32_t k = 1;
        while (k < last && document.displayTime(*line.mark(k), timeType) < t) ++k;
        a = line.mark(k - 1);
        b = line.mark(k);
    }
    int32_t xa = measure.extent(measuredOffset(line, a->offset));
    int32_t xb = measure.extent(measuredOffset(line, b->offset));
    int32_t ta = document.displayTime(*a, timeType), tb = document.displayTime(*b, timeType);
    if (ta == tb) return xb;
    if (line.width == 0 || positionMs == 0) return 0;
    return clampToInt32(xa + (int64_t{t} - ta) * (int64_t{xb} - xa) / (int64_t{tb} - ta));
}

bool scrollUsesStraightPosition(int32_t wset) { return wset == kScrollHalfway || wset == kScrollSteadily; }

int32_t scrollTarget(int32_t wset, int32_t wipeFront, int32_t straight, int32_t barWidth, int32_t outline) {
    int64_t eighth = barWidth / 8;
    int64_t front = int64_t{wipeFront} + glyphOriginX(outline);
    if (wset == kScrollHalfway) return clampToInt32((front + straight + eighth) / 2);
    if (wset == kScrollSteadily) return clampToInt32(int64_t{straight} + eighth);
    return clampToInt32(front);
}

bool lineFitsBar(int32_t lineWidth, int32_t barWidth, int32_t outline) {
    return outlinedLineColumns(lineWidth, outline) <= barWidth;
}

LinePlacement placeLine(int32_t lineWidth, int32_t barWidth, int32_t layerColumns, int32_t target, int32_t outline) {
    int64_t extent = outlinedLineColumns(lineWidth, outline);
    if (extent <= barWidth) return {static_cast<int32_t>((barWidth - extent) / 2), 0};
    int64_t half = barWidth / 2;
    int64_t source;
    if (target < half) {
        source = 0;
    } else if (target < extent - half) {
        source = target - half;
    } else {
        source = extent - barWidth;
    }
    int64_t lastSource = int64_t{layerColumns} - barWidth;
    if (source > lastSource) source = lastSource;
    if (source < 0) source = 0;
    return {0, static_cast<int32_t>(source)};
}
