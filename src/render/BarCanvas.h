#pragma once
// The bar-sized pictures every frame is built in, and what lies under the text: the skin picture
// named by SkinPath and the background brush.
//
// Buffer k belongs to buffer set k % 2 and has the role k / 2: 0 compose buffer, 1 view buffer.
// All four are as wide as the bar: 32-bit bottom-up DIB sections whose pixels (0x00RRGGBB) the
// pixel passes work on directly. Set 0's view buffer holds the finished frame: the one that
// reaches the screen. The skin is kept as such a buffer too.
#include <windows.h>

#include <cstdint>

#include "render/LineGeometry.h"
#include "render/PixelPasses.h"
#include "render/SurfaceBuffer.h"
#include "utils/GdiGuards.h"

class Settings;

constexpr int kBufferCount = 4;
constexpr int kComposeBuffer = 0, kViewBuffer = 2;
// Limits that keep absurd sizes from the INI file from allocating without bound: buffers are
// never wider than kMaxBufferWidth (the widest bar the settings offer), and no buffers are made
// for a height above kMaxBarHeight.
constexpr int32_t kMaxBufferWidth = 10000;
constexpr int32_t kMaxBarHeight = 160;

// Buffer width for a bar: the bar's, cut at kMaxBufferWidth, and at least one column; 0 when no
// buffers can be made for the size.
int32_t bufferWidthFor(int32_t width, int32_t height);
// The title banner's picture width: eighty bar heights, which its text scrolls through, or the
// bar when wider, cut at kMaxBufferWidth; 0 when no buffers can be made for the size.
int32_t bannerWidthFor(int32_t width, int32_t height);

class BarCanvas {
public:
    BarCanvas() = default;
    BarCanvas(const BarCanvas&) = delete;
    BarCanvas& operator=(const BarCanvas&) = delete;

    bool hasSkin() const { return skinImage.bitmap != nullptr; }
    bool hasBuffers() const { return buffers[kViewBuffer].dc != nullptr; }
    // What cleared text layers hold: black under a skin (its colour key), else the brush's colour.
    int32_t layerBackground() const { return hasSkin() ? 0 : backgroundColour; }
    // Fills rect (x, y, x + w, y + h) of buffer k with the background of a cleared buffer.
    void fillBackground(int k, int x, int y, int w, int h);
    // The same with the pixel of colour (0x00BBGGRR).
    void fillColour(int k, int x, int y, int w, int h, int32_t colour);
    // The bar area of buffer k, for the pixel passes.
    PixelArea barArea(int k) const;
    // The finished frame: its bar area is the bar as it last reached the screen.
    const SurfaceBuffer& frame() const { return buffers[kViewBuffer]; }

    // Loads SkinPath stretched to the width and height settings, as a pixel buffer. Returns 1 when
    // a skin is in place.
    int loadSkin(const Settings& settings);
    // Replaces the background brush by a solid brush of colour (0x00BBGGRR).
    void replaceBackgroundBrush(int32_t colour);

    int32_t barWidth = 0;
    int32_t barHeight = 0;
    int32_t bufferWidth = 0;               // columns of every buffer: barWidth, cut at kMaxBufferWidth
    int32_t outlineWidth = kOutlineWidth;  // of the lines drawn on it (LineGeometry.h)
    SurfaceBuffer buffers[kBufferCount];
    SurfaceBuffer skinImage;
    OwnedBrush backgroundBrush;
    int32_t backgroundColour = 0;  // the brush's

    // Sizes the canvas for a bar of width x height, `columns` wide (bufferWidthFor), and makes its
    // buffers. Returns whether all were made; when not, none are kept.
    bool makeBuffers(HDC windowDc, int32_t width, int32_t height, int32_t columns);
    void releaseBuffers();
};
