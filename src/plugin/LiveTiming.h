#pragma once
// The timing the user fixes on the bar while a song plays: "[" and "]" (with Shift, a second) and
// the right-click menu move the lyrics earlier or later at once, "reset" goes back to the timing
// the lyrics file holds, "save timing" writes it into that file as its "[offset:]" tag. A note on
// the bar tells of each fix for a second.
//
// The shift belongs to the document it was made on: a new song, or new lyrics adopted for the
// same song, start without one (a saved shift is then in the file's own offset, so nothing is
// applied twice). GlobalOffset, the output's delay, applies on top of every document.
#include <cstdint>
#include <string>

// The position at which the tick shows the lyrics: the host's, moved by the shift and the delay.
int32_t lyricsPositionNow();
// Whether the current document has lyrics to shift; whether it has a file a save can write.
bool canShiftTiming();
bool canSaveTiming();
bool hasUnsavedShift();

// Moves the lyrics stepMs earlier (negative: later) and notes the shift not saved yet.
void stepTiming(int32_t stepMs);
void resetTiming();
// Writes the whole shift into the lyrics file. A failure is told in a message box, naming the
// file and the reason; the file is then as it was. The ticks go on inside the box.
void saveTiming();
// The note to draw this tick: empty once it has been shown long enough.
std::wstring activeTimingNote();
