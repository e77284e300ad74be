#pragma once
// One row of lyrics in the bar: the line it shows with the live wipe, scrolling and fades. Its
// text layers (LineLayers) hold the lines of its two buffer sets; each frame it composes them into
// the canvas's compose and view buffers of the same set, as the display state calls for, and
// moves the display state on by one frame.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "render/BarCanvas.h"
#include "render/DisplayStep.h"
#include "render/LineLayers.h"
#include "render/OutlinedText.h"
#include "render/WipeScroll.h"

class LyricsDocument;
class LyricsLine;
class Settings;

// What a frame left in the canvas's finished frame.
enum class RowFrame {
    NoLine,     // Showing found no document or no such line: nothing was drawn
    Unchanged,  // nothing new to show (the bar clears or a fade ended)
    Drawn,      // a frame to present
};

class LyricsRow : public DisplayStatus {
public:
    explicit LyricsRow(BarCanvas& canvas) : canvas(canvas) {}
    LyricsRow(const LyricsRow&) = delete;
    LyricsRow& operator=(const LyricsRow&) = delete;

    // Makes the text layers for the canvas's buffers, which are made first. Returns whether all
    // were made.
    bool makeLayers(HDC windowDc);
    // Releases the text layers and the fonts.
    void release();
    // Clears set s: its view buffer is filled with the background (black under a skin, else the
    // brush), and its text layers count as holding nothing but the background.
    void clearSet(int set);
    // The lines drawn so far no longer stand for the settings (their colours, say): the next frame
    // that shows a line draws it afresh.
    void invalidateLines();

    // Advances the display state by one frame and draws the result into the canvas's finished
    // frame (without the effects, which go over the whole of it).
    RowFrame drawFrame(int32_t lineIndex, int32_t positionMs, const Settings& settings, LyricsDocument* document);

    // Fade starts: beginFadeIn and beginFadeOut draw the line into set 0 first; with enable exactly
    // 1 the fade runs from positionMs, else the row goes straight to Showing (fade-in, cross-fade)
    // or Clearing (fade-out).
    void beginFadeIn(int32_t positionMs, int32_t enable, int32_t lineIndex, LyricsDocument* document,
                     const Settings& settings);
    void beginCrossFade(int32_t positionMs, int32_t enable, int32_t lineIndex);
    void beginFadeOut(int32_t positionMs, int32_t enable, int32_t lineIndex, LyricsDocument* document,
                      const Settings& settings);
    // Begins the fade a display step decided on, for that line (FadeOut with the enable Fade_in).
    void beginFade(FadeStart start, int32_t lineIndex, int32_t positionMs, LyricsDocument& document,
                   const Settings& settings);

    // Drawing ahead (LineLayers), over the background the canvas clears layers to now.
    void prepareLines(LayerPreparer* preparer, const LyricsDocument& document, const Settings& settings,
                      std::initializer_list<int32_t> lines);
    void takePrepared(std::unique_ptr<TextLayers> drawn);
    bool holdsLines(const LyricsDocument& document, const Settings& settings, std::initializer_list<int32_t> lines);

    LineLayers layers;
    // What the row draws of its lines: the lines themselves, or what goes under them (TwoRows.h).
    RowRole role = RowRole::SungLines;
    // A bar of two rows sets a duet's second voice (LyricsLine::voice 2) at the row's right end, as
    // duet lyrics are set; a line wider than the bar scrolls as any other.
    bool secondVoiceRight = false;

private:
    // Clears set s's view and draws line n of the document into its text layers (taking them from
    // the other set when takeOther), and stores the line's measured width and height. Returns 0
    // when no document is given, else 1 (a missing line draws nothing).
    int drawLine(int set, int32_t lineIndex, LyricsDocument* document, const Settings& settings, bool takeOther);
    // Builds set s's view from its text layers: the wipe, the wipe line and the line's place in
    // the bar at positionMs. Returns 0 when there is no line. (The compose buffer is not written:
    // the view takes the layers' columns it shows straight from them.)
    int composeLine(int set, int32_t positionMs, const LyricsLine* line, const LyricsDocument& document,
                    const Settings& settings);
    // Copies columns [from, to) of a layer, as far as they are among the `shown` columns of the
    // composed line from place.source on, into the view buffer at place.x0 on.
    void copyInView(const SurfaceBuffer& layer, int32_t from, int32_t to, int view, LinePlacement place, int32_t shown);
    // Fills the bar area of set s's view with the background.
    void clearView(int set);
    void overlaySkin(int set, int32_t percentage);
    // One frame of a fade: the line over its background (the skin or ColorBACK), `shown` percent
    // of the way out of it.
    void fadeFrame(int32_t positionMs, const LyricsLine* line, const LyricsDocument* document, const Settings& settings,
                   int32_t shown);

    BarCanvas& canvas;
    TextFont setFonts[2];  // each set's line is measured in one
    // What each set's layers hold: the text's measured width, and whether it is still (never wiped).
    int32_t setWidths[2] = {0, 0};
    bool stillSets[2] = {false, false};
};

// The display step of a lyrics frame: decides the row's due line and starts the fades it calls for.
void displayStep(LyricsRow& row, LyricsDocument& document, int32_t positionMs, const Settings& settings);
