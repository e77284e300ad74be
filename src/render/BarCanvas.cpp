#include "render/BarCanvas.h"

#include "config/Settings.h"
#include "utils/Text.h"

int32_t bufferWidthFor(int32_t width, int32_t height) {
    if (height <= 0 || height > kMaxBarHeight || width < 0) return 0;
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

void BarCanvas::fillBackground(int k, int x, int y, int w, int h) {
    if (!buffers[k].dc || w <= 0 || h <= 0) return;
    RECT r = {x, y, x + w, y + h};
    HBRUSH brush = hasSkin() ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)) : backgroundBrush;
    if (brush) FillRect(buffers[k].dc, &r, brush);
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
    skinImage = loadBitmapFile(textOrNull(settings.SkinPath), width, settings.height);
    return hasSkin() ? 1 : 0;
}

void BarCanvas::replaceBackgroundBrush(int32_t colour) {
    backgroundBrush.reset();
    backgroundColour = colour;
    backgroundBrush.reset(CreateSolidBrush(static_cast<COLORREF>(colour)));
}
