#pragma once
// GlobalOffset: the output device's delay (a Bluetooth speaker's, say), in milliseconds. Positive:
// the sound comes that much late, so the lyrics are shown that much later. The setting keeps it
// within this range whatever the INI file or the sheet gave it.
#include <algorithm>
#include <cstdint>

constexpr int32_t kMinGlobalOffset = -5000;
constexpr int32_t kMaxGlobalOffset = 5000;

inline int32_t clampGlobalOffset(int32_t globalOffsetMs) {
    return std::clamp(globalOffsetMs, kMinGlobalOffset, kMaxGlobalOffset);
}
