#pragma once
// A captured picture: 32-bit pixels 0x00RRGGBB, rows from top to bottom.
#include <cstddef>
#include <cstdint>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    Image() = default;
    Image(int width, int height, uint32_t fill = 0)
        : width(width), height(height), pixels(static_cast<size_t>(width) * height, fill) {}

    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};
