#include "render/FramePresenter.h"

#include <algorithm>

#include "render/PixelPasses.h"
#include "utils/GdiGuards.h"

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

// The colour bytes of a pixel times alpha / 255, rounded to the nearest, under that alpha.
uint32_t premultipliedPixel(uint32_t pixel, uint32_t alpha) {
    uint32_t out = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) out |= (((pixel >> shift & 0xFF) * alpha + 127) / 255) << shift;
    return out;
}

// Over a skin: a pixel the skin shows unchanged is background, any other is text. Both pictures are
// bottom-up and meet at their top rows.
void premultiplyOverSkin(const PixelArea& frame, const SurfaceBuffer& skin, const PixelArea& out, uint32_t alpha) {
    int32_t columns = std::min(frame.columns, skin.width);
    for (int32_t y = 0; y < frame.rows; ++y) {
        const uint32_t* from = frame.pixels + static_cast<intptr_t>(y) * frame.stride;
        int32_t skinRow = skin.height - frame.rows + y;
        const uint32_t* under =
            skinRow >= 0 && skinRow < skin.height ? skin.pixels + static_cast<intptr_t>(skinRow) * skin.width : nullptr;
        uint32_t* to = out.pixels + static_cast<intptr_t>(y) * out.stride;
        for (int32_t x = 0; x < frame.columns; ++x) {
            uint32_t pixel = from[x] & 0xFFFFFF;
            bool isSkin = under && x < columns && pixel == (under[x] & 0xFFFFFF);
            to[x] = isSkin ? premultipliedPixel(pixel, alpha) : (pixel | kOpaque);
        }
    }
}

// A dashed edge, black and white in turns of four pixels, so that it shows on any desktop.
void drawEdge(const PixelArea& out) {
    auto dash = [](int32_t i) { return (i / 4) % 2 ? kOpaque | 0xFFFFFF : kOpaque; };
    for (int32_t x = 0; x < out.columns; ++x) {
        out.pixels[x] = dash(x);
        out.pixels[static_cast<intptr_t>(out.rows - 1) * out.stride + x] = dash(x);
    }
    for (int32_t y = 0; y < out.rows; ++y) {
        out.pixels[static_cast<intptr_t>(y) * out.stride] = dash(y);
        out.pixels[static_cast<intptr_t>(y) * out.stride + out.columns - 1] = dash(y);
    }
}

}  // namespace

void WindowPresenter::present(const SurfaceBuffer& frame, int32_t columns, int32_t rows) const {
    if (!target || !frame.dc) return;
    WindowDc dc(target);
    if (dc) BitBlt(dc, x, y, columns, rows, frame.dc, 0, 0, SRCCOPY);
}

void LayeredWindowPresenter::present(const SurfaceBuffer& frame, int32_t columns, int32_t rows) const {
    columns = std::min(columns, frame.width);
    rows = std::min(rows, frame.height);
    if (!target || !frame.pixels || columns <= 0 || rows <= 0) return;
    if (premultiplied.width != columns || premultiplied.height != rows)
        premultiplied = makePixelBuffer(nullptr, columns, rows);
    if (!premultiplied.pixels) return;
    // What GDI drew into the frame (the timing note) is in its memory before it is read.
    GdiFlush();
    // Both pictures are bottom-up: the frame's first `rows` memory rows are the bar's rows.
    int32_t alpha = (std::clamp(opacity, 0, 100) * 255 + 50) / 100;
    PixelArea source = {frame.pixels + static_cast<intptr_t>(frame.height - rows) * frame.width, frame.width,
                        columns, rows};
    PixelArea out = {premultiplied.pixels, columns, columns, rows};
    if (skin && skin->pixels)
        premultiplyOverSkin(source, *skin, out, static_cast<uint32_t>(alpha));
    else
        premultiplyForLayeredWindow(source, out, background, alpha);
    if (framed) drawEdge(out);
    SIZE size = {columns, rows};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(target, nullptr, nullptr, &size, premultiplied.dc, &origin, 0, &blend, ULW_ALPHA);
}
