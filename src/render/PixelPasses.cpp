#include "render/PixelPasses.h"

#include <cstring>

#include "render/PixelRows.h"

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

// The plain loops, the reference for the SSE2 ones. They are kept free of calls and branches on
// the pixel values so that the compiler can vectorise them where the processor lacks SSE2.

void keyedCopyRow(const uint32_t* __restrict source, uint32_t* __restrict destination, int32_t columns) {
    for (int32_t j = 0; j < columns; ++j) destination[j] = source[j] ? source[j] : destination[j];
}

void keyedMixRow(const uint32_t* __restrict source, uint32_t* __restrict destination, int32_t columns, uint16_t p) {
    for (int32_t j = 0; j < columns; ++j) {
        uint32_t s = source[j], d = destination[j];
        uint32_t mixed = mixBytes(s, d, p);
        destination[j] = s ? mixed : d;
    }
}

void mixRow(const uint32_t* __restrict source, uint32_t* __restrict destination, int32_t columns, uint16_t p) {
    for (int32_t j = 0; j < columns; ++j) destination[j] = mixBytes(source[j], destination[j], p);
}

void colourRow(uint32_t colourPixel, uint32_t* __restrict pixels, int32_t columns, uint16_t p) {
    for (int32_t j = 0; j < columns; ++j) pixels[j] = mixBytes(colourPixel, pixels[j], p);
}

void fillRow(uint32_t value, uint32_t* __restrict pixels, int32_t columns) {
    for (int32_t j = 0; j < columns; ++j) pixels[j] = value;
}

// Source and destination may be one row here.
void premultiplyRow(const uint32_t* source, uint32_t* destination, int32_t columns, uint32_t key,
                    uint32_t premultipliedKey) {
    for (int32_t j = 0; j < columns; ++j) {
        uint32_t s = source[j];
        destination[j] = (s & 0xFFFFFF) == key ? premultipliedKey : s | 0xFF000000u;
    }
}

void copyRow(const uint32_t* source, uint32_t* destination, int32_t columns) {
    std::memmove(destination, source, static_cast<size_t>(columns) * sizeof(uint32_t));
}

const PixelRows kScalarRows = {fillRow, keyedCopyRow, keyedMixRow, mixRow, colourRow, premultiplyRow};

const PixelRows& rowsFor(PixelCode code) {
    static const PixelRows* const sse2 = sse2Rows();
    if (code != PixelCode::Scalar && sse2) return *sse2;
    return kScalarRows;
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

bool canRunPixelCode(PixelCode code) { return code != PixelCode::Sse2 || sse2Rows(); }

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

void overlayKeyed(const PixelArea& source, const PixelArea& destination, int32_t percentage, PixelCode code) {
    const PixelRows& rows = rowsFor(code);
    passOverTwo(source, destination, percentage, rows.keyedCopy, rows.keyedMix);
}

void mixBuffers(const PixelArea& source, const PixelArea& destination, int32_t percentage, PixelCode code) {
    passOverTwo(source, destination, percentage, copyRow, rowsFor(code).mix);
}

void mixRowWithColour(const PixelArea& area, int32_t row, int32_t colour, int32_t percentage, PixelCode code) {
    int32_t columns = columnsOf(area);
    if (percentage >= 100 || columns == 0 || row < 0 || row >= area.rows) return;
    const PixelRows& rows = rowsFor(code);
    if (percentage <= 0) {
        rows.fill(colourToPixel(colour), rowOf(area, row), columns);
    } else {
        rows.mixColour(colourToPixel(colour), rowOf(area, row), columns, static_cast<uint16_t>(percentage));
    }
}

void fadeTowardsBackground(const PixelArea& area, int32_t colour, int32_t percentage, PixelCode code) {
    for (int32_t i = 0; i < area.rows; ++i) mixRowWithColour(area, i, colour, percentage, code);
}

void copyPixels(const PixelArea& source, const PixelArea& destination) {
    int32_t columns = commonColumns(source, destination), rows = commonRows(source, destination);
    if (columns == 0) return;
    for (int32_t i = 0; i < rows; ++i) copyRow(rowOf(source, i), rowOf(destination, i), columns);
}

void fillPixels(const PixelArea& area, uint32_t pixel, PixelCode code) {
    int32_t columns = columnsOf(area);
    if (columns == 0) return;
    const PixelRows& rows = rowsFor(code);
    for (int32_t i = 0; i < area.rows; ++i) rows.fill(pixel, rowOf(area, i), columns);
}

void premultiplyForLayeredWindow(const PixelArea& source, const PixelArea& destination, int32_t background,
                                 int32_t opacity, PixelCode code) {
    int32_t columns = commonColumns(source, destination), rows = commonRows(source, destination);
    if (columns == 0) return;
    uint32_t alpha = opacity < 0 ? 0u : opacity > 255 ? 255u : static_cast<uint32_t>(opacity);
    uint32_t key = colourToPixel(background);
    uint32_t premultiplied = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) premultiplied |= ((key >> shift & 0xFF) * alpha + 127) / 255 << shift;
    const PixelRows& pixelRows = rowsFor(code);
    for (int32_t i = 0; i < rows; ++i)
        pixelRows.premultiply(rowOf(source, i), rowOf(destination, i), columns, key, premultiplied);
}
