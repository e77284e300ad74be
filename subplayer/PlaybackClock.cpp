#include "subplayer/PlaybackClock.h"

#include <limits>

void PlaybackClock::play(uint64_t nowMs) {
    baseMs = positionMs(nowMs);
    anchorMs = nowMs;
    current = Playing;
}

void PlaybackClock::pause(uint64_t nowMs) {
    if (current == Stopped) return;
    baseMs = positionMs(nowMs);
    current = Paused;
}

void PlaybackClock::stop() {
    baseMs = 0;
    current = Stopped;
}

void PlaybackClock::seek(int32_t positionMs, uint64_t nowMs) {
    baseMs = positionMs;
    anchorMs = nowMs;
}

void PlaybackClock::hold(int32_t positionMs) {
    baseMs = positionMs;
    current = Held;
}

int32_t PlaybackClock::positionMs(uint64_t nowMs) const {
    int64_t p = baseMs;
    if (current == Playing && nowMs > anchorMs) p += static_cast<int64_t>(nowMs - anchorMs);
    // A song played for 25 days: stay at the largest position the host can report.
    if (p > std::numeric_limits<int32_t>::max()) p = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(p);
}

int32_t PlaybackClock::status() const {
    switch (current) {
    case Playing:
    case Held: return 1;
    case Paused: return 3;
    default: return 0;
    }
}
