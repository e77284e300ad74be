#include "lyrics/TimingShift.h"

#include <algorithm>
#include <cstdlib>

namespace {

int32_t clampedSum(int64_t sum) { return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX)); }

}  // namespace

void stepShift(LiveShift& shift, int32_t stepMs) {
    shift.shiftMs = static_cast<int32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(shift.shiftMs) + stepMs, -kMaxShiftMs, kMaxShiftMs));
}

void resetShift(LiveShift& shift) { shift.shiftMs = shift.savedMs; }

int32_t unsavedShiftMs(const LiveShift& shift) { return shift.shiftMs - shift.savedMs; }

int32_t savedOffsetMs(int32_t loadedOffsetMs, const LiveShift& shift) {
    return addShift(loadedOffsetMs, shift.shiftMs);
}

void markSaved(LiveShift& shift) { shift.savedMs = shift.shiftMs; }

int32_t addShift(int32_t offsetMs, int32_t shiftMs) { return clampedSum(static_cast<int64_t>(offsetMs) + shiftMs); }

int32_t lyricsPositionMs(int32_t positionMs, const LiveShift& shift, int32_t globalOffsetMs) {
    return clampedSum(static_cast<int64_t>(positionMs) + shift.shiftMs - clampGlobalOffset(globalOffsetMs));
}

std::string shiftNote(int32_t shiftMs) {
    // Rounded to the nearest tenth, halves away from zero.
    int64_t tenths = (std::llabs(static_cast<int64_t>(shiftMs)) + 50) / 100;
    std::string sign = tenths == 0 ? "" : shiftMs > 0 ? "+" : "-";
    return sign + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
}
