// UpdateLayeredWindowIndirect, which takes the changed part of a picture, comes with Windows Vista;
// the headers declare it only for builds that target it.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "render/FramePresenter.h"

#include <algorithm>
#include <cstring>

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

// Where two pictures of one size differ, counted from the top-left corner as GDI counts; empty when
// they are the same. Both are bottom-up.
RECT changedPart(const SurfaceBuffer& a, const SurfaceBuffer& b) {
    RECT r = {a.width, a.height, 0, 0};
    for (int32_t y = 0; y < a.height; ++y) {
        const uint32_t* p = a.pixels + static_cast<intptr_t>(y) * a.width;
        const uint32_t* q = b.pixels + static_cast<intptr_t>(y) * b.width;
        if (std::memcmp(p, q, static_cast<size_t>(a.width) * sizeof *p) == 0) continue;
        int32_t first = 0, last = a.width - 1;
        while (p[first] == q[first]) ++first;
        while (p[last] == q[last]) --last;
        int32_t top = a.height - 1 - y;
        r.left = std::min<LONG>(r.left, first);
        r.right = std::max<LONG>(r.right, last + 1);
        r.top = std::min<LONG>(r.top, top);
        r.bottom = std::max<LONG>(r.bottom, top + 1);
    }
    return r;
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
    // Drawn into the picture the window does not show, so that the two tell what changed.
    int next = shown < 0 ? 0 : 1 - shown;
    SurfaceBuffer& picture = pictures[next];
    if (picture.width != columns || picture.height != rows) picture = makePixelBuffer(nullptr, columns, rows);
    if (!picture.pixels) return;
    // What GDI drew into the frame (the timing note) is in its memory before it is read.
    GdiFlush();
    // Both pictures are bottom-up: the frame's first `rows` memory rows are the bar's rows.
    int32_t alpha = (std::clamp(opacity, 0, 100) * 255 + 50) / 100;
    PixelArea source = {frame.pixels + static_cast<intptr_t>(frame.height - rows) * frame.width, frame.width, columns,
                        rows};
    PixelArea out = {picture.pixels, columns, columns, rows};
    if (skin && skin->pixels)
        premultiplyOverSkin(source, *skin, out, static_cast<uint32_t>(alpha));
    else
        premultiplyForLayeredWindow(source, out, background, alpha);
    if (framed) drawEdge(out);

    // Only what changed goes to the window (under Wine the whole picture costs a millisecond at
    // 1920 x 80); a new window or size takes all of it, with the size.
    bool whole =
        shown < 0 || target != shownWindow || pictures[shown].width != columns || pictures[shown].height != rows;
    RECT dirty = {0, 0, columns, rows};
    if (!whole) {
        dirty = changedPart(picture, pictures[shown]);
        if (dirty.right <= dirty.left) return;  // the window shows this picture already
    }
    SIZE size = {columns, rows};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UPDATELAYEREDWINDOWINFO update = {
        sizeof update, nullptr, nullptr, whole ? &size : nullptr, picture.dc, &origin, 0, &blend, ULW_ALPHA, &dirty};
    if (!UpdateLayeredWindowIndirect(target, &update)) {
        // A window whose size is not the picture's (resized meanwhile) takes the whole picture.
        update.psize = &size;
        update.prcDirty = nullptr;
        if (!UpdateLayeredWindowIndirect(target, &update)) return;
    }
    shown = next;
    shownWindow = target;
}
