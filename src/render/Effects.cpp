#include "render/Effects.h"

#include "config/Settings.h"

namespace {

constexpr int32_t kUnchanged = 100;

// Half-way from 50 at the edge row (distance 0) towards 100 over `rows` rows.
int32_t edgeDarkening(int32_t distance, int32_t rows) { return distance * 100 / rows / 2 + 50; }

}  // namespace

int32_t effectColour(int32_t effects, int32_t colourBack) {
    switch (effects) {
    case kBackgroundBelow:
    case kBackgroundGradient: return colourBack;
    case kWhiteBelow: return 0xFFFFFF;
    case kBlueBelow: return 0xFF0000;
    case kGreenBelow: return 0x00FF00;
    case kRedBelow: return 0x0000FF;
    default: return 0;
    }
}

int32_t effectRowPercentage(int32_t effects, int32_t height, int32_t row) {
    if (row < 0 || row >= height) return kUnchanged;
    int32_t half = height / 2, third = height / 3;
    int32_t fromTop = height - 1 - row;
    switch (effects) {
    case kBackgroundBelow: return row < half ? edgeDarkening(row, half) : kUnchanged;
    case kBackgroundGradient: return row * 100 / height + 25;
    // The top band starts one row above 2h/3 (and above h/2 for effect 4), so the bands are
    // not mirror images and the middle row of effect 4 is left alone.
    case kDarkThirds:
        if (row < third) return edgeDarkening(row, third);
        return row > 2 * height / 3 ? edgeDarkening(fromTop, third) : kUnchanged;
    case kDarkHalves:
        if (row < half) return edgeDarkening(row, half);
        return row > half ? edgeDarkening(fromTop, half) : kUnchanged;
    case kWhiteBelow:
    case kBlueBelow:
    case kGreenBelow:
    case kRedBelow: return row < half ? row * 100 / half : kUnchanged;
    default: return kUnchanged;
    }
}

void applyEffects(const PixelArea& area, int32_t effects, int32_t colourBack, PixelCode code) {
    if (effects <= kNoEffect || effects > kLastEffect) return;
    int32_t colour = effectColour(effects, colourBack);
    for (int32_t row = 0; row < area.rows; ++row) {
        mixRowWithColour(area, row, colour, effectRowPercentage(effects, area.rows, row), code);
    }
}
