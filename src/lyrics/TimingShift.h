#pragma once
// The timing the user fixes while a song plays, and the standing delay of the output device.
// Milliseconds throughout; a positive shift shows the lyrics earlier, as an "[offset:]" tag does.
//
// The song's lines were moved by the file's offset when they were parsed (LyricsDocument's
// offsetMs). The live shift moves them further without parsing again: the player's position is
// moved instead (lyricsPositionMs), so the choice of line, the wipe and the fades move together.
// A new song starts with LiveShift{}: a shift not saved is forgotten with its song.
#include <cstdint>
#include <string>

#include "utils/OutputDelay.h"

constexpr int32_t kShiftStepMs = 100;        // one press of "[" or "]"
constexpr int32_t kLargeShiftStepMs = 1000;  // with Shift
constexpr int32_t kMaxShiftMs = 600000;      // ten minutes either way: a live shift, or one sorvane-lyrics applies

struct LiveShift {
    int32_t shiftMs = 0;  // on top of the times as loaded
    int32_t savedMs = 0;  // how much of shiftMs the lyrics file holds since the last save
};

// One step earlier (positive) or later, the shift held within kMaxShiftMs either way.
void stepShift(LiveShift& shift, int32_t stepMs);
// "Reset": back to the timing the lyrics file holds (as loaded, or as last saved).
void resetShift(LiveShift& shift);
// The shift the lyrics file does not hold yet: what a note on the bar shows, what a save adds.
int32_t unsavedShiftMs(const LiveShift& shift);

// The offset "save timing" writes: the one the lyrics were loaded with, plus the live shift.
// Saving twice writes the same offset.
int32_t savedOffsetMs(int32_t loadedOffsetMs, const LiveShift& shift);
// After the file took savedOffsetMs: reset now returns to this timing.
void markSaved(LiveShift& shift);

// offsetMs moved by shiftMs, held within 32 bits (as the parser reads an offset).
int32_t addShift(int32_t offsetMs, int32_t shiftMs);

// The position in the song at which to show the lyrics, for the player's positionMs: the live
// shift moves it ahead (the lyrics come earlier), the output's delay back. Within 32 bits.
int32_t lyricsPositionMs(int32_t positionMs, const LiveShift& shift, int32_t globalOffsetMs);

// A shift as the bar's note shows it, in tenths of a second: "+0.3 s", "-1.2 s", "0.0 s".
std::string shiftNote(int32_t shiftMs);
