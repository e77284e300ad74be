#include "subplayer/ColorQuantizer.h"

#include <algorithm>
#include <unordered_map>

namespace {

int channel(uint32_t color, int c) { return (color >> (16 - 8 * c)) & 0xFF; }

struct ColorCount {
    uint32_t color;
    uint64_t count;
};

std::vector<ColorCount> histogram(const Image& image) {
    std::unordered_map<uint32_t, uint64_t> counts;
    for (uint32_t p : image.pixels) ++counts[p & 0xFFFFFF];
    std::vector<ColorCount> colors;
    colors.reserve(counts.size());
    for (auto& c : counts) colors.push_back({c.first, c.second});
    std::sort(colors.begin(), colors.end(), [](const ColorCount& a, const ColorCount& b) { return a.color < b.color; });
    return colors;
}

struct Box {
    size_t begin, end;  // range of the colour list
    int widestChannel;
    int extent;  // range of values along widestChannel
};

Box measure(const std::vector<ColorCount>& colors, size_t begin, size_t end) {
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    for (size_t i = begin; i < end; ++i)
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], channel(colors[i].color, c));
            high[c] = std::max(high[c], channel(colors[i].color, c));
        }
    Box box{begin, end, 0, high[0] - low[0]};
    for (int c = 1; c < 3; ++c)
        if (high[c] - low[c] > box.extent) {
            box.widestChannel = c;
            box.extent = high[c] - low[c];
        }
    return box;
}

uint32_t weightedMean(const std::vector<ColorCount>& colors, const Box& box) {
    uint64_t sum[3] = {0, 0, 0}, total = 0;
    for (size_t i = box.begin; i < box.end; ++i) {
        for (int c = 0; c < 3; ++c) sum[c] += channel(colors[i].color, c) * colors[i].count;
        total += colors[i].count;
    }
    uint32_t mean = 0;
    for (int c = 0; c < 3; ++c) mean = (mean << 8) | static_cast<uint32_t>((sum[c] + total / 2) / total);
    return mean;
}

}  // namespace

int exactPalette(const std::vector<const Image*>& images, size_t maxColors, std::vector<uint32_t>& palette) {
    palette.clear();
    std::vector<uint32_t> seen;
    for (const Image* image : images) {
        for (uint32_t p : image->pixels) seen.push_back(p & 0xFFFFFF);
        std::sort(seen.begin(), seen.end());
        seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
        if (seen.size() > maxColors) return 0;
    }
    palette = seen;
    return 1;
}

std::vector<uint32_t> reducedPalette(const Image& image, size_t maxColors) {
    std::vector<ColorCount> colors = histogram(image);
    if (colors.size() <= maxColors) {
        std::vector<uint32_t> exact;
        for (auto& c : colors) exact.push_back(c.color);
        return exact;
    }
    std::vector<Box> boxes = {measure(colors, 0, colors.size())};
    while (boxes.size() < maxColors) {
        // Split the box spread widest; a box of one colour (extent 0) cannot be split.
        auto widest = std::max_element(boxes.begin(), boxes.end(),
                                       [](const Box& a, const Box& b) { return a.extent < b.extent; });
        if (widest->extent == 0) break;
        Box box = *widest;
        int c = box.widestChannel;
        std::sort(colors.begin() + box.begin, colors.begin() + box.end,
                  [c](const ColorCount& a, const ColorCount& b) { return channel(a.color, c) < channel(b.color, c); });
        uint64_t total = 0;
        for (size_t i = box.begin; i < box.end; ++i) total += colors[i].count;
        // The median by pixel count, kept strictly inside the box so both halves hold a colour.
        size_t split = box.begin + 1;
        for (uint64_t seen = colors[box.begin].count; split < box.end - 1 && seen * 2 < total; ++split)
            seen += colors[split].count;
        *widest = measure(colors, box.begin, split);
        boxes.push_back(measure(colors, split, box.end));
    }
    std::vector<uint32_t> palette;
    for (const Box& box : boxes) palette.push_back(weightedMean(colors, box));
    return palette;
}

std::vector<uint8_t> mapToPalette(const Image& image, const std::vector<uint32_t>& palette) {
    std::unordered_map<uint32_t, uint8_t> nearest;
    std::vector<uint8_t> indices;
    indices.reserve(image.pixels.size());
    for (uint32_t p : image.pixels) {
        p &= 0xFFFFFF;
        auto known = nearest.find(p);
        if (known != nearest.end()) {
            indices.push_back(known->second);
            continue;
        }
        size_t best = 0;
        long bestDistance = -1;
        for (size_t i = 0; i < palette.size(); ++i) {
            long d = 0;
            for (int c = 0; c < 3; ++c) {
                long delta = channel(p, c) - channel(palette[i], c);
                d += delta * delta;
            }
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        nearest[p] = static_cast<uint8_t>(best);
        indices.push_back(static_cast<uint8_t>(best));
    }
    return indices;
}
