#pragma once
// One off-screen picture of the renderer: a memory DC with a bitmap of its own selected into it.
// Every picture a frame is composed from or into (text layers, the skin, the banner, the bar's
// buffers) is a 32-bit bottom-up DIB section: GDI draws text into it through its DC, and the frame
// is composed from its pixels (0x00RRGGBB) by row copies, fills and the pixel passes, with no GDI
// call between pictures. A buffer owns its DC and bitmap: they go with it.
#include <windows.h>

#include <cstdint>
#include <utility>

#include "utils/GdiGuards.h"

struct SurfaceBuffer {
    SurfaceBuffer() = default;
    SurfaceBuffer(SurfaceBuffer&& other) noexcept { swap(other); }
    SurfaceBuffer& operator=(SurfaceBuffer&& other) noexcept {
        SurfaceBuffer taken(std::move(other));
        swap(taken);
        return *this;
    }
    void swap(SurfaceBuffer& other) noexcept;
    // Releases bitmap and DC: the buffer holds nothing.
    void release() { *this = SurfaceBuffer(); }

    // Declared in this order so that the bitmap is selected out before it and the DC are deleted.
    MemoryDc dc;
    OwnedBitmap bitmap;
    SelectedObject selection;
    uint32_t* pixels = nullptr;  // DIB sections only: `height` rows of `width` words, bottom-up
    int32_t width = 0;           // size of the bitmap in pixels
    int32_t height = 0;
};

// A width x height 32-bit bottom-up DIB section; empty when it cannot be made. The window's DC
// may be null (a worker thread has none): a section of 32-bit pixels does not depend on it.
SurfaceBuffer makePixelBuffer(HDC windowDc, int32_t width, int32_t height);
// The bitmap file at path (UTF-8), stretched to width x height (0: its own size), in the file's own
// format; empty when it cannot be loaded.
SurfaceBuffer loadBitmapFile(const char* path, int32_t width, int32_t height);
// A 32-bit pixel buffer holding what the picture shows (GDI converts its format); empty when the
// picture is or when the buffer cannot be made.
SurfaceBuffer pixelCopyOf(const SurfaceBuffer& picture);

// Copies columns [sourceX, sourceX + columns) of a picture, the top rows both have, into dest at
// destX, cut to both pictures so that nothing outside either is read or written. Pixel buffers
// only: anything else is left alone.
void copyColumns(const SurfaceBuffer& source, int32_t sourceX, const SurfaceBuffer& dest, int32_t destX,
                 int32_t columns);
// Copies a whole picture into dest with its top row at dest's row destY (negative: the source's
// rows from -destY on go to dest's top), cut to both pictures. Pixel buffers only.
void copyPicture(const SurfaceBuffer& source, const SurfaceBuffer& dest, int32_t destY);
// A new pixel buffer holding `rows` rows of a pixel picture from row y on; empty when it cannot be
// made or the picture has no such rows.
SurfaceBuffer pictureRows(const SurfaceBuffer& picture, int32_t y, int32_t rows);
// Fills the rectangle (x, y, x + w, y + h) of a pixel buffer, counted from its top-left corner as
// GDI counts, with pixel, cut to the buffer.
void fillRectangle(const SurfaceBuffer& buffer, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t pixel);
