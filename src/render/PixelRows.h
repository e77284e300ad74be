#pragma once
// The row loops behind the pixel passes (PixelPasses.h): plain C++ in PixelPasses.cpp, SSE2 in
// PixelPassesSse2.cpp. Only those two files use it. A loop gets `columns` > 0 pixels of one row
// and a percentage p from 1 to 99; source and destination are the same row or do not overlap.
#include <cstdint>

struct PixelRows {
    void (*fill)(uint32_t value, uint32_t* pixels, int32_t columns);
    // destination := source where the source is not 0
    void (*keyedCopy)(const uint32_t* source, uint32_t* destination, int32_t columns);
    // destination := mixBytes(source, destination, p) where the source is not 0
    void (*keyedMix)(const uint32_t* source, uint32_t* destination, int32_t columns, uint16_t p);
    void (*mix)(const uint32_t* source, uint32_t* destination, int32_t columns, uint16_t p);
    // pixels := mixBytes(colourPixel, pixels, p)
    void (*mixColour)(uint32_t colourPixel, uint32_t* pixels, int32_t columns, uint16_t p);
    // destination := `premultipliedKey` where the source's colour bytes are `key`, else the source
    // with alpha 255
    void (*premultiply)(const uint32_t* source, uint32_t* destination, int32_t columns, uint32_t key,
                        uint32_t premultipliedKey);
};

// The SSE2 loops, or null where the processor lacks SSE2 or the build has no SSE2 code (not x86).
const PixelRows* sse2Rows();
