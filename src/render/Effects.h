#pragma once
// The Effects gradients, laid over every presented frame just before it reaches the screen: each
// touched row of the bar is mixed towards one colour by a percentage that depends on the row.
// Rows are memory rows of a bottom-up buffer, so row 0 is the bottom edge of the bar.
#include <cstdint>

#include "render/PixelPasses.h"

// The colour (0x00BBGGRR) the effect mixes towards: ColorBACK for 1 and 2, black for 3 and 4,
// white, blue, green and red for 5 to 8.
int32_t effectColour(int32_t effects, int32_t colourBack);
// The percentage of memory row `row` in a bar `height` rows high; 100 (unchanged) for the rows the
// effect leaves alone and for every row of effect 0 or an unknown number.
int32_t effectRowPercentage(int32_t effects, int32_t height, int32_t row);
// The whole pass over the bar area (area.rows is the bar height).
void applyEffects(const PixelArea& area, int32_t effects, int32_t colourBack, PixelCode code = PixelCode::Best);
