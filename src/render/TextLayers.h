#pragma once
// The three text layers of a lyrics line (before-wipe, wipe-line and after-wipe) and what they
// hold. A line's layers take long to draw and the same line is drawn again and again (into the
// other buffer set for a cross-fade, again for Showing after a fade), so the renderer keeps, with
// every set of layers, what was drawn into it: layers that hold exactly what a frame asks for are
// used as they are, wherever they were drawn, and spare layers are drawn ahead of need, off the
// tick, by a LayerPreparer.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "render/LineStyle.h"

struct SurfaceBuffer {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ defaultBitmap = nullptr;  // the DC's own bitmap, selected back before deleting
    uint32_t* pixels = nullptr;       // DIB sections only: barHeight rows of bufferWidth words
    int32_t width = 0;                // size of the bitmap in pixels
    int32_t height = 0;
};

// Selects the default bitmap back, deletes bitmap and DC, and clears the buffer.
void releaseBuffer(SurfaceBuffer& buffer);

// Everything the pixels of a set of text layers follow from. Two equal contents drawn into
// layers of one size give the same pixels, whoever draws them and on whichever thread.
struct LayerContent {
    int drawn = 0;           // 0: nothing but the background
    int32_t background = 0;  // what the layers were cleared to (black under a skin)
    std::wstring text;       // the line's UTF-16 form
    std::wstring face;
    ColourTrio after = {}, wipeLine = {}, before = {};

    bool operator==(const LayerContent& other) const;
    bool operator!=(const LayerContent& other) const { return !(*this == other); }
};

// Layers kept apart from the buffer sets: spares, drawn ahead of need and swapped into a set.
struct TextLayers {
    TextLayers() = default;
    ~TextLayers();
    TextLayers(const TextLayers&) = delete;
    TextLayers& operator=(const TextLayers&) = delete;

    // Clears the layers to content.background and draws content into them at (2, 0), measuring
    // the line into extent. Touches nothing but these layers and GDI objects of its own, so any
    // one thread may do it while the layers are its own.
    void draw();

    SurfaceBuffer layers[3];  // before-wipe, wipe-line, after-wipe
    LayerContent content;
    SIZE extent = {0, 0};
    uint32_t generation = 0;  // the buffers these layers were made with (RenderSurface)
};

// Everything the title banner's picture follows from (TitleBanner).
struct BannerContent {
    int drawn = 0;           // the text five times side by side (Lset 0); 0: the background alone
    int32_t background = 0;  // black under a skin
    int32_t colour = 0;      // ColorTCOLOR
    int32_t height = 0;      // the height setting: the font's cell is 4 pixels less
    std::wstring text;
    std::wstring face;

    bool operator==(const BannerContent& other) const;
    bool operator!=(const BannerContent& other) const { return !(*this == other); }
};

// The banner's picture: shown, or a spare drawn ahead and swapped in.
struct BannerPicture {
    BannerPicture() = default;
    ~BannerPicture();
    BannerPicture(const BannerPicture&) = delete;
    BannerPicture& operator=(const BannerPicture&) = delete;

    // Clears the picture to content.background and draws content into it, measuring the text
    // into textWidth. Like TextLayers::draw, any one thread may do it.
    void draw();

    SurfaceBuffer picture;
    BannerContent content;
    int32_t textWidth = 0;
    uint32_t generation = 0;
};

// Draws spare layers and banner pictures away from the tick, and hands them back to the
// surface's owner, who returns them with RenderSurface::takePrepared.
class LayerPreparer {
public:
    virtual ~LayerPreparer() = default;
    virtual void prepare(std::unique_ptr<TextLayers> layers) = 0;
    virtual void prepareBanner(std::unique_ptr<BannerPicture> picture) = 0;
};
