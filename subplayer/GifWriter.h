#pragma once
// Animated GIF of a sequence of captures, looping forever.
//
// Palettes: when all frames together use at most 256 colours, one global table holds them exactly
// (the smallest file, no loss). Otherwise each frame gets a table of its own: karaoke frames
// differ a lot from one another (fades, cross-fades, gradient effects), so one table shared by
// all would blur every frame to serve the others, while a table per frame costs at most 768
// bytes; a frame that fits 256 colours keeps them exactly, others are reduced by median cut.
#include <cstdint>
#include <vector>

#include "subplayer/Image.h"

struct GifFrame {
    const Image* image;
    int delayCs;  // how long the frame shows, in hundredths of a second
};

// The picture is as large as the largest frame; each frame is drawn at its top-left corner (a
// bar resized during a recording leaves what the smaller frames do not cover as it was).
// Returns 0 for no frames, an empty frame or one wider or taller than 65535.
int encodeGif(const std::vector<GifFrame>& frames, std::vector<uint8_t>& gif);

// Frame delays in hundredths from the frames' time stamps in ms, rounded along the running time
// so that the total does not drift. Viewers stretch delays under 2 to a tenth of a second, so
// no delay is below 2; the last frame shows as long as the one before it.
std::vector<int> gifDelaysFromStamps(const std::vector<int64_t>& stampsMs);

// The LZW code stream of GIF image data for indices below 2^minCodeSize (minCodeSize 2 to 8),
// without the sub-block framing.
std::vector<uint8_t> gifLzwEncode(const std::vector<uint8_t>& indices, int minCodeSize);
