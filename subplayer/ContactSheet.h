#pragma once
// A contact sheet: chosen frames laid out in a grid on one picture, each with a small label (the
// frame's position in ms) drawn in a built-in digit font, so that a reviewer sees at a glance what
// a stretch of frames looked like and when.
#include <cstdint>
#include <string>
#include <vector>

#include "subplayer/Image.h"

struct ContactFrame {
    const Image* image;
    std::string label;  // digits, '-', ':', '.' and spaces; other characters show as blanks
};

// Frames in rows of columns cells; each cell is as large as the largest frame plus its label
// strip. Returns an empty image for no frames or no columns.
Image composeContactSheet(const std::vector<ContactFrame>& frames, int columns);

// count indices spread evenly over 0..total-1, first and last included (all of them when count
// is total or more).
std::vector<size_t> pickEvenly(size_t total, size_t count);
