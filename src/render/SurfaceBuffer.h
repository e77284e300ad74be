#pragma once
// One off-screen picture of the renderer: a memory DC with a bitmap of its own selected into it.
// Text layers are bitmaps in the display's format, which GDI draws text into fastest; the bar's
// compose and view buffers are 32-bit bottom-up DIB sections, whose pixels (0x00RRGGBB) the pixel
// passes work on directly. A buffer owns its DC and bitmap: they go with it.
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

// A width x height bitmap in the format of windowDc's display; empty when it cannot be made.
SurfaceBuffer makeDisplayBuffer(HDC windowDc, int32_t width, int32_t height);
// A width x height 32-bit bottom-up DIB section; empty when it cannot be made.
SurfaceBuffer makePixelBuffer(HDC windowDc, int32_t width, int32_t height);
// The bitmap file at path (UTF-8), stretched to width x height (0: its own size); empty when it
// cannot be loaded.
SurfaceBuffer loadBitmapFile(const char* path, int32_t width, int32_t height);

// Copies columns [sourceX, sourceX + columns) of a picture, full height, into dest at destX, cut to
// both pictures so that nothing outside either is read or written.
void copyColumns(const SurfaceBuffer& source, int32_t sourceX, const SurfaceBuffer& dest, int32_t destX,
                 int32_t columns);
