#include "subplayer/DesktopPicture.h"

#include <algorithm>
#include <cmath>

namespace {

uint32_t rgb(double r, double g, double b) {
    auto byte = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5); };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

}  // namespace

uint32_t wallpaperPixel(int x, int y, int screenWidth, int screenHeight) {
    double w = std::max(screenWidth, 1), h = std::max(screenHeight, 1);
    double u = x / w, v = y / h;
    // Two ridges of hills, the far one lighter, rolling across the lower part of the screen.
    double far = 0.62 + 0.05 * std::sin(u * 9.0 + 1.0) + 0.03 * std::sin(u * 23.0);
    double near = 0.74 + 0.06 * std::sin(u * 5.0 + 2.5) + 0.02 * std::sin(u * 31.0 + 0.7);
    if (v > near) return rgb(22 + 20 * u, 34 + 10 * u, 48);
    if (v > far) return rgb(58 + 30 * u, 62 + 12 * u, 92);
    // The sky: deep blue overhead, rose and gold towards the horizon, a low sun on the right.
    double t = std::clamp(v / far, 0.0, 1.0);
    double r = 28 + t * t * 210, g = 40 + t * t * t * 120, b = 110 + t * 40 - t * t * 90;
    double sunX = u - 0.72, sunY = (v - far * 0.93) * h / w;
    double sun = std::exp(-(sunX * sunX + sunY * sunY) * 220.0);
    return rgb(r + sun * 60, g + sun * 110, b + sun * 40);
}

uint32_t premultipliedOver(uint32_t top, uint32_t under) {
    uint32_t keep = 255 - (top >> 24), out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t channel = (top >> shift & 0xFF) + ((under >> shift & 0xFF) * keep + 127) / 255;
        out |= std::min<uint32_t>(channel, 255) << shift;
    }
    return out;
}

Image composeOverWallpaper(const Image& picture, int left, int top, int margin, int screenWidth, int screenHeight) {
    int x0 = std::max(left - margin, 0), y0 = std::max(top - margin, 0);
    int x1 = std::min(left + picture.width + margin, screenWidth);
    int y1 = std::min(top + picture.height + margin, screenHeight);
    if (x1 <= x0 || y1 <= y0) return Image();
    Image out(x1 - x0, y1 - y0);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            uint32_t pixel = wallpaperPixel(x, y, screenWidth, screenHeight);
            int px = x - left, py = y - top;
            if (px >= 0 && py >= 0 && px < picture.width && py < picture.height)
                pixel = premultipliedOver(picture.at(px, py), pixel);
            out.at(x - x0, y - y0) = pixel;
        }
    return out;
}
