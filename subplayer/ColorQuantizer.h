#pragma once
// Palettes for GIF frames: the exact colours when they fit, otherwise a median-cut reduction
// weighted by how many pixels have each colour, and the mapping of pixels to palette indices.
#include <cstdint>
#include <vector>

#include "subplayer/Image.h"

// The distinct colours of all images, in ascending order, when there are at most maxColors of
// them; returns 0 (and leaves palette empty) when there are more.
int exactPalette(const std::vector<const Image*>& images, size_t maxColors, std::vector<uint32_t>& palette);

// At most maxColors colours (maxColors >= 1) that represent the image: its exact colours when
// they fit, otherwise one weighted mean per median-cut box.
std::vector<uint32_t> reducedPalette(const Image& image, size_t maxColors);

// For each pixel, the index of the nearest palette colour (squared RGB distance). palette must not
// be empty and holds at most 256 colours.
std::vector<uint8_t> mapToPalette(const Image& image, const std::vector<uint32_t>& palette);
