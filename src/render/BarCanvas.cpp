#include "render/BarCanvas.h"

#include "config/Settings.h"
#include "utils/Text.h"

int32_t bufferWidthFor(int32_t width, int32_t height) {
    if (height <= 0 || height > kMaxBarHeight || width < 0) return 0;
    if (width == 0) return 1;
    return width > kMaxBufferWidth ? kMaxBufferWidth : width;
}

int32_t bannerWidthFor(int32_t width, int32_t height) {
    if (bufferWidthFor(width, height) == 0) return 0;
    int32_t columns = 80 * height;
    if (width > columns) columns = width;
    return columns > kMaxBufferWidth ? kMaxBufferWidth : columns;
}

bool BarCanvas::makeBuffers(HDC windowDc, int32_t width, int32_t height, int32_t columns) {
    barWidth = width;
    barHeight = height;
    bufferWidth = columns;
    for (SurfaceBuffer& b : buffers) {
        b = makePixelBuffer(windowDc, columns, height);
        if (!b.dc) {
            releaseBuffers();
            return false;
        }
    }
    return true;
}

void BarCanvas::releaseBuffers() {
    for (SurfaceBuffer& b : buffers) b.release();
}

void BarCanvas::fillBackground(int k, int x, int y, int w, int h) { fillColour(k, x, y, w, h, layerBackground()); }

void BarCanvas::fillColour(int k, int x, int y, int w, int h, int32_t colour) {
    fillRectangle(buffers[k], x, y, w, h, colourToPixel(colour));
}

PixelArea BarCanvas::barArea(int k) const {
    const SurfaceBuffer& b = buffers[k];
    if (!b.pixels) return {nullptr, 0, 0, 0};
    return {b.pixels, bufferWidth, barWidth, barHeight};
}

int BarCanvas::loadSkin(const Settings& settings) {
    // The skin is only ever shown inside the buffers, so it is never stretched past the widest
    // buffer, and a size no buffers can be made for loads none: an absurd size in the INI file
    // must not make the picture allocate without bound.
    skinImage.release();
    if (bufferWidthFor(settings.width, settings.height) == 0) return 0;
    int32_t width = settings.width < kMaxBufferWidth ? settings.width : kMaxBufferWidth;
    // Converted to pixels once, here: every frame copies it row by row.
    skinImage = pixelCopyOf(loadBitmapFile(textOrNull(settings.SkinPath), width, settings.height));
    return hasSkin() ? 1 : 0;
}

void BarCanvas::replaceBackgroundBrush(int32_t colour) {
    backgroundBrush.reset();
    backgroundColour = colour;
    backgroundBrush.reset(CreateSolidBrush(static_cast<COLORREF>(colour)));
}
