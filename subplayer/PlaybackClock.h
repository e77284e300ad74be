#pragma once
// The host's playback clock. It runs in real time while playing; a held clock reports exactly the
// position it was given while the status stays "playing", so that a capture shows the frame for a
// known position. Times come in from the caller (milliseconds of any steady clock).
#include <cstdint>

class PlaybackClock {
public:
    enum Mode { Stopped, Playing, Paused, Held };

    // Starts or resumes real-time play from the current position (from a stop: from 0 or the
    // position a seek set meanwhile).
    void play(uint64_t nowMs);
    void pause(uint64_t nowMs);
    // Stops and rewinds to 0.
    void stop();
    // Moves the position; the mode stays.
    void seek(int32_t positionMs, uint64_t nowMs);
    // Reports exactly positionMs with the status "playing" until play, pause, stop or a new hold.
    void hold(int32_t positionMs);

    int32_t positionMs(uint64_t nowMs) const;
    // The host's play status: 0 stopped, 1 playing (or held), 3 paused.
    int32_t status() const;
    Mode mode() const { return current; }

private:
    Mode current = Stopped;
    int64_t baseMs = 0;     // position at anchorMs
    uint64_t anchorMs = 0;  // when play last started or the position was last set while playing
};
