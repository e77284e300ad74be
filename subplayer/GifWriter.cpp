#include "subplayer/GifWriter.h"

#include <cstring>

#include "subplayer/ColorQuantizer.h"

namespace {

const int kMaxCode = 4095;

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out(out) {}
    void put(int code, int bits) {
        buffer |= static_cast<uint32_t>(code) << count;
        count += bits;
        while (count >= 8) {
            out.push_back(static_cast<uint8_t>(buffer));
            buffer >>= 8;
            count -= 8;
        }
    }
    void flush() {
        if (count > 0) out.push_back(static_cast<uint8_t>(buffer));
        buffer = 0;
        count = 0;
    }

private:
    std::vector<uint8_t>& out;
    uint32_t buffer = 0;
    int count = 0;
};

// The string table: (prefix code, next index) -> code, open addressing.
class CodeTable {
public:
    void clear() { std::memset(keys, 0, sizeof keys); }
    // The code for the pair, or -1; slot receives where to add it.
    int find(int prefix, int index, size_t& slot) const {
        uint32_t key = (static_cast<uint32_t>(prefix) << 8 | index) + 1;
        slot = (key * 2654435761u) >> (32 - kBits);
        while (keys[slot]) {
            if (keys[slot] == key) return codes[slot];
            slot = (slot + 1) & (kSize - 1);
        }
        return -1;
    }
    void add(size_t slot, int prefix, int index, int code) {
        keys[slot] = (static_cast<uint32_t>(prefix) << 8 | index) + 1;
        codes[slot] = static_cast<uint16_t>(code);
    }

private:
    static const int kBits = 13;  // 8192 slots for at most 4096 codes
    static const size_t kSize = size_t(1) << kBits;
    uint32_t keys[kSize];
    uint16_t codes[kSize];
};

void putLittleEndian16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

// Bits needed for a colour table holding n colours (at least 1: a table has 2 entries or more).
int tableBits(size_t n) {
    int bits = 1;
    while ((size_t(1) << bits) < n) ++bits;
    return bits;
}

void putColorTable(std::vector<uint8_t>& out, const std::vector<uint32_t>& palette, int bits) {
    for (size_t i = 0; i < (size_t(1) << bits); ++i) {
        uint32_t c = i < palette.size() ? palette[i] : 0;
        out.push_back(static_cast<uint8_t>(c >> 16));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c));
    }
}

void putImageData(std::vector<uint8_t>& out, const std::vector<uint8_t>& indices, int bits) {
    int minCodeSize = bits < 2 ? 2 : bits;
    out.push_back(static_cast<uint8_t>(minCodeSize));
    std::vector<uint8_t> codes = gifLzwEncode(indices, minCodeSize);
    for (size_t at = 0; at < codes.size(); at += 255) {
        size_t n = codes.size() - at < 255 ? codes.size() - at : 255;
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), codes.begin() + at, codes.begin() + at + n);
    }
    out.push_back(0);
}

}  // namespace

std::vector<uint8_t> gifLzwEncode(const std::vector<uint8_t>& indices, int minCodeSize) {
    std::vector<uint8_t> out;
    BitWriter writer(out);
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    static CodeTable table;  // 48 KiB: kept off the stack
    table.clear();
    int codeSize = minCodeSize + 1;
    int nextCode = clearCode + 2;
    writer.put(clearCode, codeSize);
    int prefix = -1;
    for (uint8_t index : indices) {
        if (prefix < 0) {
            prefix = index;
            continue;
        }
        size_t slot;
        int code = table.find(prefix, index, slot);
        if (code >= 0) {
            prefix = code;
            continue;
        }
        writer.put(prefix, codeSize);
        if (nextCode <= kMaxCode) {
            table.add(slot, prefix, index, nextCode++);
            // The decoder adds its entry one code later, so it widens the codes when the
            // next free code passes the current width, not when it reaches it.
            if (nextCode > (1 << codeSize) && codeSize < 12) ++codeSize;
        }
        if (nextCode > kMaxCode) {
            writer.put(clearCode, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            nextCode = clearCode + 2;
        }
        prefix = index;
    }
    if (prefix >= 0) writer.put(prefix, codeSize);
    writer.put(endCode, codeSize);
    writer.flush();
    return out;
}

int encodeGif(const std::vector<GifFrame>& frames, std::vector<uint8_t>& gif) {
    gif.clear();
    if (frames.empty()) return 0;
    int width = 0, height = 0;
    std::vector<const Image*> images;
    for (const GifFrame& f : frames) {
        const Image& image = *f.image;
        if (image.width <= 0 || image.height <= 0 || image.width > 65535 || image.height > 65535) return 0;
        width = image.width > width ? image.width : width;
        height = image.height > height ? image.height : height;
        images.push_back(f.image);
    }
    std::vector<uint32_t> global;
    const bool useGlobal = exactPalette(images, 256, global);

    const char header[] = "GIF89a";
    gif.insert(gif.end(), header, header + 6);
    putLittleEndian16(gif, width);
    putLittleEndian16(gif, height);
    int globalBits = useGlobal ? tableBits(global.size()) : 0;
    gif.push_back(useGlobal ? static_cast<uint8_t>(0x80 | 0x70 | (globalBits - 1)) : 0x70);
    gif.push_back(0);  // background colour index
    gif.push_back(0);  // no aspect ratio
    if (useGlobal) putColorTable(gif, global, globalBits);
    const uint8_t loop[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    gif.insert(gif.end(), loop, loop + sizeof loop);

    for (const GifFrame& f : frames) {
        int delay = f.delayCs < 0 ? 0 : f.delayCs > 65535 ? 65535 : f.delayCs;
        const uint8_t control[] = {0x21, 0xF9, 4, 1 << 2 /* keep the frame */, 0, 0, 0, 0};
        gif.insert(gif.end(), control, control + sizeof control);
        gif[gif.size() - 4] = static_cast<uint8_t>(delay);
        gif[gif.size() - 3] = static_cast<uint8_t>(delay >> 8);

        gif.push_back(0x2C);
        putLittleEndian16(gif, 0);
        putLittleEndian16(gif, 0);
        putLittleEndian16(gif, f.image->width);
        putLittleEndian16(gif, f.image->height);
        if (useGlobal) {
            gif.push_back(0);
            putImageData(gif, mapToPalette(*f.image, global), globalBits);
        } else {
            std::vector<uint32_t> local = reducedPalette(*f.image, 256);
            int bits = tableBits(local.size());
            gif.push_back(static_cast<uint8_t>(0x80 | (bits - 1)));
            putColorTable(gif, local, bits);
            putImageData(gif, mapToPalette(*f.image, local), bits);
        }
    }
    gif.push_back(0x3B);
    return 1;
}

std::vector<int> gifDelaysFromStamps(const std::vector<int64_t>& stampsMs) {
    std::vector<int> delays;
    if (stampsMs.empty()) return delays;
    int64_t shownCs = 0;  // running time the delays so far add up to, from the first stamp
    for (size_t i = 0; i + 1 < stampsMs.size(); ++i) {
        int64_t dueCs = ((stampsMs[i + 1] - stampsMs[0]) + 5) / 10;
        int64_t d = dueCs - shownCs;
        if (d < 2) d = 2;
        if (d > 65535) d = 65535;
        delays.push_back(static_cast<int>(d));
        shownCs += d;
    }
    delays.push_back(delays.empty() ? 10 : delays.back());
    return delays;
}
