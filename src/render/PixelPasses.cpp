#include "render/PixelPasses.h"

namespace {

int32_t columnsOf(const PixelArea& area) {
    if (!area.pixels || area.columns <= 0 || area.rows <= 0) return 0;
    return area.columns < area.stride ? area.columns : area.stride;
}

int32_t commonColumns(const PixelArea& a, const PixelArea& b) {
    int32_t ca = columnsOf(a), cb = columnsOf(b);
    return ca < cb ? ca : cb;
}

int32_t commonRows(const PixelArea& a, const PixelArea& b) { return a.rows < b.rows ? a.rows : b.rows; }

uint32_t* rowOf(const PixelArea& area, int32_t row) { return area.pixels + static_cast<intptr_t>(row) * area.stride; }

// The loops below are kept free of calls and branches on the pixel values so that the compiler
// turns them into vector code.

void keyedCopyRow(const uint32_t* __restrict source, uint32_t* __restrict destination, int32_t columns) {
    for (int32_t j = 0; j < columns; ++j) destination[j] = source[j] ? source[j] : destination[j];
}

void keyedMixRow(const uint32_t* __restrict source, uint32_t* __restrict destination, int32_t columns,
                 uint16_t p) {
    for (int32_t j = 0; j < columns; ++j) {
        uint32_t s = source[j], d = destination[j];
        uint32_t mixed = mixBytes(s, d, p);
        destination[j] = s ? mixed : d;
    }
}

void mixRow(const uint32_t* __restrict source, uint32_t* __restrict destination, int32_t columns, uint16_t p) {
    for (int32_t j = 0; j < columns; ++j) destination[j] = mixBytes(source[j], destination[j], p);
}

void copyRow(const uint32_t* __restrict source, uint32_t* __restrict destination, int32_t columns) {
    for (int32_t j = 0; j < columns; ++j) destination[j] = source[j];
}

void colourRow(uint32_t colourPixel, uint32_t* __restrict pixels, int32_t columns, uint16_t p) {
    for (int32_t j = 0; j < columns; ++j) pixels[j] = mixBytes(colourPixel, pixels[j], p);
}

void fillRow(uint32_t value, uint32_t* __restrict pixels, int32_t columns) {
    for (int32_t j = 0; j < columns; ++j) pixels[j] = value;
}

// Runs a pass row by row over the common part of two areas: at 0 or less the source is taken as it
// is (rowAtZero), at 100 or more the destination stays, between them rowMix mixes.
template <typename RowAtZero, typename RowMix>
void passOverTwo(const PixelArea& source, const PixelArea& destination, int32_t percentage, RowAtZero rowAtZero,
                 RowMix rowMix) {
    if (percentage >= 100) return;
    int32_t columns = commonColumns(source, destination), rows = commonRows(source, destination);
    if (columns == 0) return;
    for (int32_t i = 0; i < rows; ++i) {
        if (percentage <= 0) {
            rowAtZero(rowOf(source, i), rowOf(destination, i), columns);
        } else {
            rowMix(rowOf(source, i), rowOf(destination, i), columns, static_cast<uint16_t>(percentage));
        }
    }
}

}  // namespace

uint32_t mixPixels(uint32_t p, uint32_t q, int32_t percentage) {
    if (percentage <= 0) return p;
    if (percentage >= 100) return q;
    return mixBytes(p, q, static_cast<uint16_t>(percentage));
}

uint32_t mixColour(int32_t colour, uint32_t pixel, int32_t percentage) {
    if (percentage <= 0) return colourToPixel(colour);
    if (percentage >= 100) return pixel;
    return mixBytes(colourToPixel(colour), pixel, static_cast<uint16_t>(percentage));
}

void overlayKeyed(const PixelArea& source, const PixelArea& destination, int32_t percentage) {
    passOverTwo(source, destination, percentage, keyedCopyRow, keyedMixRow);
}

void mixBuffers(const PixelArea& source, const PixelArea& destination, int32_t percentage) {
    passOverTwo(source, destination, percentage, copyRow, mixRow);
}

void mixRowWithColour(const PixelArea& area, int32_t row, int32_t colour, int32_t percentage) {
    int32_t columns = columnsOf(area);
    if (percentage >= 100 || columns == 0 || row < 0 || row >= area.rows) return;
    if (percentage <= 0) {
        fillRow(colourToPixel(colour), rowOf(area, row), columns);
    } else {
        colourRow(colourToPixel(colour), rowOf(area, row), columns, static_cast<uint16_t>(percentage));
    }
}

void fadeTowardsBackground(const PixelArea& area, int32_t colour, int32_t percentage) {
    for (int32_t i = 0; i < area.rows; ++i) mixRowWithColour(area, i, colour, percentage);
}
