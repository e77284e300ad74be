#pragma once
// The display state machine's decisions: which line is due at a moment of the song, when a line
// fades in, cross-fades or fades out, and how far a running fade has come. None of this draws;
// each row of the bar (LyricsRow) carries the decisions out.
#include <cstdint>

class LyricsDocument;
class Settings;

enum DisplayState : int32_t {
    Clearing = 1,        // set 0 is cleared and the due line drawn into it; nothing is shown
    Blank = 2,           // the bar shows only its background
    Showing = 3,         // the due line with the live wipe and scrolling
    FadingIn = 4,        // fadeLine rises out of the background
    FadingOut = 5,       // fadeLine sinks into the background
    CrossFadeStart = 6,  // one-frame set-up, continues as CrossFading in the same frame
    CrossFading = 7,     // the old line (shownLine) blends into the new one (fadeLine)
};

// Lines with an index above this never become due.
constexpr int32_t kLastDueLine = 500;

// The line bookkeeping of the display, kept by each row of the bar.
struct DisplayStatus {
    int32_t shownLine = 999;  // the line drawn into buffer set 0 for Showing; 999: none
    int32_t dueLine = 999;    // the line the last display step found due
    DisplayState displayState = Clearing;
    int32_t fadeStartMs = 0;  // playback position at which the running fade began
    int32_t fadeLine = 0;     // the line being faded in, faded out or cross-faded to
};

// The highest-indexed line up to 500 whose window s + Fin_Start < t < e + Fout_End holds t
// (t in hundredths of a second); -1 when none is due.
int32_t findDueLine(const LyricsDocument& document, int32_t t, const Settings& settings);

// The line a display that starts at t shows first: the due line, else the first line up to 500
// whose window opens after t; -1 when there is none.
int32_t firstLineToShow(const LyricsDocument& document, int32_t t, const Settings& settings);

enum class FadeStart { None, FadeIn, CrossFade, FadeOut };

// One display step at positionMs: finds the due line, moves to Clearing when none is due (unless
// the bar is already clearing or blank), forces Showing in the due line's steady window, and says
// which fade the renderer must begin for status.dueLine (beginFadeIn and beginCrossFade with
// enable 1, beginFadeOut with Fade_in).
FadeStart decideDisplayStep(DisplayStatus& status, const LyricsDocument& document, int32_t positionMs,
                            const Settings& settings);

// The state a fade start leaves: with enable exactly 1 the fade runs from positionMs, otherwise the
// display goes straight to `withoutFade`.
void startFade(DisplayStatus& status, int32_t positionMs, int32_t enable, int32_t line, DisplayState fadeState,
               DisplayState withoutFade);

// Progress of a fade in percent at positionMs: the elapsed share of a fade-in or cross-fade, the
// remaining share of a fade-out. 0 (and the percentage untouched) when the fade's duration in the
// settings is zero or negative: such a fade ends at once. The value may lie outside 0..100.
int fadeInPercent(const DisplayStatus& status, int32_t positionMs, const Settings& settings, int32_t& percent);
int fadeOutPercent(const DisplayStatus& status, int32_t positionMs, const Settings& settings, int32_t& percent);
