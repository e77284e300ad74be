#pragma once
// PNG encoding of captures: 8-bit RGB, no filtering, the image data in stored (uncompressed)
// deflate blocks. Bar captures are small, and a stored stream cannot be got wrong by a compressor.
#include <cstdint>
#include <vector>

#include "subplayer/Image.h"

// Returns 0 for an empty image.
int encodePng(const Image& image, std::vector<uint8_t>& png);
