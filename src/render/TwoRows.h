#pragma once
// What each row of a two-row bar shows. The top row always shows sung lines. Under it, as
// SecondRow asks, either the lines alternate between the rows (the row not being sung already
// holds the next line, still), or the bottom row shows what goes under the sung line: its
// translation or romanisation, else the next line. None of this draws; the rows (LyricsRow)
// carry it out.
#include <cstdint>
#include <string>

#include "lyrics/LyricsDocument.h"
#include "render/DisplayStep.h"

class Settings;

// A row of sung lines draws a line as one row alone would; a row of under-lines draws, for line
// n, what goes under it.
enum class RowRole { SungLines, UnderLines };

struct RowText {
    const LyricsLine* line = nullptr;  // the line drawn from; null: the row shows its background
    const std::string* text = nullptr;
    int32_t percent = 100;  // the text's height in percent of the row's
    bool still = false;     // never wiped: in the unsung colours, from its start
};

// What a row of that role draws for line n. Under a line goes its translation (SecondRow 1) or
// romanisation (2) at SecondRowSize percent; a line without one gets the next line at full size,
// so that the row is not empty while lyrics play.
RowText rowTextFor(const LyricsDocument& document, int32_t n, RowRole role, const Settings& settings);

// The fade a row must begin, and for which line.
struct RowStart {
    FadeStart start = FadeStart::None;
    int32_t line = kNoLine;
};

// One display step of the alternating rows at positionMs: line n belongs to row n % 2. The row
// of the due line runs today's display step; the other row follows it with the line after the due
// one: it fades in, cross-fades to it or fades out when the sung row does, and both clear in a gap.
// Fills starts[r] with row r's fade (FadeOut with the enable Fade_in, the others with 1).
void decideAlternatingRows(DisplayStatus* rows[2], const LyricsDocument& document, int32_t positionMs,
                           const Settings& settings, RowStart starts[2]);
