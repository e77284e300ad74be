#pragma once
// The three text layers of a lyrics line (before-wipe, wipe-line and after-wipe) and what they
// hold. A line's layers take long to draw and the same line is drawn again and again (into the
// other buffer set for a cross-fade, again for Showing after a fade), so the renderer keeps, with
// every set of layers, what was drawn into it: layers that hold exactly what a frame asks for are
// used as they are, wherever they were drawn, and spare layers are drawn ahead of need, off the
// tick, by a LayerPreparer (LineLayers.h).
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "render/LineGeometry.h"
#include "render/LineStyle.h"
#include "render/SurfaceBuffer.h"

struct BannerPicture;

// Everything the pixels of a set of text layers follow from. Two equal contents drawn into
// layers of one size give the same pixels, whoever draws them and on whichever thread.
struct LayerContent {
    int drawn = 0;           // 0: nothing but the background
    int32_t background = 0;  // what the layers were cleared to (black under a skin)
    std::wstring text;       // the line's UTF-16 form
    std::wstring face;
    ColourTrio after = {}, wipeLine = {}, before = {};
    int32_t percent = 100;  // the text's height in percent of the layers' (a second row's smaller text)

    bool operator==(const LayerContent& other) const;
    bool operator!=(const LayerContent& other) const { return !(*this == other); }
};

enum LayerRole { kBeforeWipeLayer = 0, kWipeLineLayer = 1, kAfterWipeLayer = 2 };

// The layers of one line: those of a buffer set, or spares, drawn ahead of need and swapped into a
// set. They are pixel buffers `height` rows high and as wide as the line they hold needs
// (layerColumnsFor, LineGeometry.h): each line is measured first, and layers too narrow for it, or
// far wider, are made afresh.
struct TextLayers {
    // Measures content's line into extent, makes the layers fit it, clears them to
    // content.background and draws the line into them at kLineTextX, outlined `outline` pixels
    // wide (LineGeometry.h). Touches nothing but these layers and GDI objects of its own, so any
    // one thread may do it while the layers are its own. Layers that cannot be made are left empty, and show as background.
    void draw();
    // Columns of every layer (0 while they could not be made).
    int32_t columns() const { return layers[0].width; }

    SurfaceBuffer layers[3];  // by LayerRole
    LayerContent content;
    SIZE extent = {0, 0};
    int32_t height = 0;               // the bar's
    int32_t outline = kOutlineWidth;  // the width of the lines' outline (LineGeometry.h)
    uint32_t generation = 0;          // the buffers these layers were made with (LineLayers)
    const void* maker = nullptr;      // the LineLayers that made them
};

// Draws spare layers and banner pictures away from the tick, and hands them back to the
// surface's owner, who returns them with RenderSurface::takePrepared and takePreparedBanner.
class LayerPreparer {
public:
    virtual ~LayerPreparer() = default;
    virtual void prepare(std::unique_ptr<TextLayers> layers) = 0;
    virtual void prepareBanner(std::unique_ptr<BannerPicture> picture) = 0;
};
