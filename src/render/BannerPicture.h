#pragma once
// The title banner's picture and everything its pixels follow from (TitleBanner.h). The surface
// keeps the picture shown and a spare, which is drawn ahead, off the tick, and swapped in.
#include <cstdint>
#include <string>

#include "render/SurfaceBuffer.h"

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

struct BannerPicture {
    // Clears the picture to content.background and draws content into it, measuring the text
    // into textWidth. Like TextLayers::draw, any one thread may do it.
    void draw();

    SurfaceBuffer picture;
    BannerContent content;
    int32_t textWidth = 0;
    uint32_t generation = 0;
};
