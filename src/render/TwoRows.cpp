#include "render/TwoRows.h"

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"

namespace {

bool isClear(const DisplayStatus& row) { return row.displayState == Clearing || row.displayState == Blank; }

// The line a row shows or is fading to.
int32_t lineHeading(const DisplayStatus& row) {
    switch (row.displayState) {
    case Showing: return row.dueLine;
    case FadingIn:
    case CrossFadeStart:
    case CrossFading: return row.fadeLine;
    default: return kNoLine;
    }
}

void clear(DisplayStatus& row) {
    if (isClear(row)) return;
    row.displayState = Clearing;
    row.shownLine = kNoLine;
}

// The other row's part while the sung row shows (or starts to show) the due line: the next line,
// still, fading in or over from what the row held while the due line fades in, at once otherwise
// (a start or a jump into the line's steady part, or no fades). Without a next line the row lets
// go of what it held.
RowStart followWithNextLine(DisplayStatus& row, int32_t next, bool fading, const Settings& settings) {
    if (next == kNoLine) {
        if (fading && row.displayState == Showing) return {FadeStart::FadeOut, row.dueLine};
        if (!fading && row.displayState != FadingOut) clear(row);
        return {};
    }
    if (lineHeading(row) == next) return {};
    row.dueLine = next;
    if (!fading || settings.Fade_in == 0) {
        row.displayState = Showing;
        return {};
    }
    if (isClear(row) || row.displayState == FadingOut) return {FadeStart::FadeIn, next};
    return {FadeStart::CrossFade, next};
}

}  // namespace

RowText rowTextFor(const LyricsDocument& document, int32_t n, RowRole role, const Settings& settings) {
    const LyricsLine* line = document.line(n);
    if (!line) return {};
    if (role == RowRole::SungLines) return {line, &line->text, 100, false};
    const std::string& under = settings.SecondRow == kRomanisationRow ? line->romanisation : line->translation;
    if (!under.empty()) {
        int32_t percent = settings.SecondRowSize;
        if (percent < kMinSecondRowSize) percent = kMinSecondRowSize;
        if (percent > kMaxSecondRowSize) percent = kMaxSecondRowSize;
        return {line, &under, percent, true};
    }
    // line(9999) is the last line, not one past it.
    const LyricsLine* next = n + 1 < kLastIndex ? document.line(n + 1) : nullptr;
    if (!next) return {};
    return {next, &next->text, 100, true};
}

void decideAlternatingRows(DisplayStatus* rows[2], const LyricsDocument& document, int32_t positionMs,
                           const Settings& settings, RowStart starts[2]) {
    starts[0] = starts[1] = RowStart{};
    int32_t due = findDueLine(document, positionMs / 10, settings);
    if (due < 0) {
        clear(*rows[0]);
        clear(*rows[1]);
        return;
    }
    DisplayStatus& sung = *rows[due % 2];
    DisplayStatus& other = *rows[1 - due % 2];
    RowStart& sungStart = starts[due % 2];
    RowStart& otherStart = starts[1 - due % 2];

    // The row already holds the due line when it showed it as the next one: it goes on showing it.
    bool held = sung.displayState == Showing && sung.dueLine == due;
    FadeStart start = decideDisplayStep(sung, document, positionMs, settings);
    // The due line fades in now: the fade it starts, or one running.
    bool fading = (start != FadeStart::None && start != FadeStart::FadeOut) || sung.displayState == FadingIn ||
                  sung.displayState == CrossFadeStart || sung.displayState == CrossFading;
    if (start == FadeStart::CrossFade && held) start = FadeStart::None;
    sungStart = {start, sung.dueLine};

    int32_t next = due + 1 <= kLastDueLine && document.line(due + 1) ? due + 1 : kNoLine;
    if (start == FadeStart::FadeOut) {
        if (other.displayState == Showing) otherStart = {FadeStart::FadeOut, other.dueLine};
        return;
    }
    bool sungShows = start != FadeStart::None || sung.displayState == Showing || sung.displayState == FadingIn ||
                     sung.displayState == CrossFadeStart || sung.displayState == CrossFading;
    if (sungShows) {
        otherStart = followWithNextLine(other, next, fading, settings);
    } else if (isClear(sung)) {
        clear(other);
    }
}
