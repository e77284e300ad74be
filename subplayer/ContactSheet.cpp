#include "subplayer/ContactSheet.h"

#include <algorithm>

namespace {

const uint32_t kBackground = 0x303030;
const uint32_t kLabelColor = 0xE8E8E8;
const int kGap = 4;
const int kGlyphWidth = 3, kGlyphHeight = 5;
const int kLabelHeight = kGlyphHeight + 4;

// Rows of three bits, top first, for the characters a label uses.
const uint8_t* glyph(char c) {
    static const uint8_t kDigits[10][5] = {
        {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
        {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
    };
    static const uint8_t kMinus[5] = {0, 0, 7, 0, 0}, kColon[5] = {0, 2, 0, 2, 0}, kDot[5] = {0, 0, 0, 0, 2};
    if (c >= '0' && c <= '9') return kDigits[c - '0'];
    if (c == '-') return kMinus;
    if (c == ':') return kColon;
    if (c == '.') return kDot;
    return nullptr;
}

void drawLabel(Image& sheet, int x, int y, const std::string& label, int maxWidth) {
    for (char c : label) {
        if (x + kGlyphWidth > sheet.width || maxWidth < kGlyphWidth) return;
        if (const uint8_t* rows = glyph(c))
            for (int r = 0; r < kGlyphHeight; ++r)
                for (int b = 0; b < kGlyphWidth; ++b)
                    if (rows[r] & (4 >> b)) sheet.at(x + b, y + r) = kLabelColor;
        x += kGlyphWidth + 1;
        maxWidth -= kGlyphWidth + 1;
    }
}

}  // namespace

Image composeContactSheet(const std::vector<ContactFrame>& frames, int columns) {
    if (frames.empty() || columns < 1) return Image();
    int cellWidth = 0, cellHeight = 0;
    for (const ContactFrame& f : frames) {
        cellWidth = std::max(cellWidth, f.image->width);
        cellHeight = std::max(cellHeight, f.image->height);
    }
    cellHeight += kLabelHeight;
    int used = std::min<int>(columns, static_cast<int>(frames.size()));
    int rows = static_cast<int>((frames.size() + columns - 1) / columns);
    Image sheet(kGap + used * (cellWidth + kGap), kGap + rows * (cellHeight + kGap), kBackground);
    for (size_t i = 0; i < frames.size(); ++i) {
        const Image& frame = *frames[i].image;
        int x0 = kGap + static_cast<int>(i % columns) * (cellWidth + kGap);
        int y0 = kGap + static_cast<int>(i / columns) * (cellHeight + kGap);
        for (int y = 0; y < frame.height; ++y)
            std::copy(frame.pixels.begin() + static_cast<size_t>(y) * frame.width,
                      frame.pixels.begin() + static_cast<size_t>(y + 1) * frame.width,
                      sheet.pixels.begin() + static_cast<size_t>(y0 + y) * sheet.width + x0);
        drawLabel(sheet, x0, y0 + cellHeight - kLabelHeight + 2, frames[i].label, cellWidth);
    }
    return sheet;
}

std::vector<size_t> pickEvenly(size_t total, size_t count) {
    std::vector<size_t> picked;
    if (total == 0 || count == 0) return picked;
    if (count >= total) count = total;
    for (size_t i = 0; i < count; ++i) picked.push_back(count == 1 ? 0 : i * (total - 1) / (count - 1));
    return picked;
}
