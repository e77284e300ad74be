#include "render/DisplayStep.h"

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"

namespace {

// Settings come from the INI file unchecked: window edges and fade arithmetic are done in 64 bits
// so that no value can overflow them.
struct LineWindow {
    int64_t s;
    int64_t e;
};

LineWindow windowOf(const LyricsDocument& document, const LyricsLine& line, const Settings& settings) {
    return {document.startTime(line, settings.TimeType), document.endTime(line, settings.TimeType)};
}

int32_t clampToInt32(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int percentOver(int32_t fromMs, int32_t toMs, int32_t start, int32_t end, int32_t& percent) {
    int64_t duration = int64_t{end} - start;
    if (duration <= 0) return 0;
    percent = clampToInt32((int64_t{toMs} - fromMs) * 100 / (duration * 10));
    return 1;
}

}  // namespace

int32_t findDueLine(const LyricsDocument& document, int32_t t, const Settings& settings) {
    for (int32_t n = kLastDueLine; n >= 0; --n) {
        const LyricsLine* line = document.line(n);
        if (!line) continue;
        LineWindow w = windowOf(document, *line, settings);
        if (w.s + settings.Fin_Start < t && t < w.e + settings.Fout_End) return n;
    }
    return -1;
}

int32_t firstLineToShow(const LyricsDocument& document, int32_t t, const Settings& settings) {
    int32_t due = findDueLine(document, t, settings);
    if (due >= 0) return due;
    for (int32_t n = 0; n <= kLastDueLine; ++n) {
        const LyricsLine* line = document.line(n);
        if (!line) break;
        if (windowOf(document, *line, settings).s + settings.Fin_Start >= t) return n;
    }
    return -1;
}

FadeStart decideDisplayStep(DisplayStatus& status, const LyricsDocument& document, int32_t positionMs,
                            const Settings& settings) {
    int32_t t = positionMs / 10;
    int32_t due = findDueLine(document, t, settings);
    if (due >= 0) {
        status.dueLine = due;
    } else if (status.displayState != Clearing && status.displayState != Blank) {
        status.displayState = Clearing;
        status.shownLine = kNoLine;
    }

    const LyricsLine* line = document.line(status.dueLine);
    if (!line) return FadeStart::None;
    LineWindow w = windowOf(document, *line, settings);
    if (w.s + settings.Fin_Start < t && t < w.s + settings.Fin_End) {
        if (status.displayState == CrossFading || status.displayState == FadingIn || settings.Fade_in == 0) {
            return FadeStart::None;
        }
        if (status.displayState == Blank || status.displayState == FadingOut) return FadeStart::FadeIn;
        return FadeStart::CrossFade;
    }
    if (w.s + settings.Fin_End <= t && t <= w.e + settings.Fout_Start) {
        status.displayState = Showing;
        return FadeStart::None;
    }
    if (w.e + settings.Fout_Start < t && t < w.e + settings.Fout_End && status.displayState == Showing) {
        return FadeStart::FadeOut;
    }
    return FadeStart::None;
}

void startFade(DisplayStatus& status, int32_t positionMs, int32_t enable, int32_t line, DisplayState fadeState,
               DisplayState withoutFade) {
    if (enable != 1) {
        status.displayState = withoutFade;
        return;
    }
    status.fadeLine = line;
    status.fadeStartMs = positionMs;
    status.displayState = fadeState;
}

int fadeInPercent(const DisplayStatus& status, int32_t positionMs, const Settings& settings, int32_t& percent) {
    return percentOver(status.fadeStartMs, positionMs, settings.Fin_Start, settings.Fin_End, percent);
}

int fadeOutPercent(const DisplayStatus& status, int32_t positionMs, const Settings& settings, int32_t& percent) {
    int32_t elapsed = 0;
    if (!percentOver(status.fadeStartMs, positionMs, settings.Fout_Start, settings.Fout_End, elapsed)) return 0;
    percent = clampToInt32(int64_t{100} - elapsed);
    return 1;
}
