#include "subplayer/Checksums.h"

namespace {

struct CrcTable {
    uint32_t entries[256];
    CrcTable() {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
    }
};

}  // namespace

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc) {
    static const CrcTable table;
    uint32_t c = ~crc;
    for (size_t i = 0; i < size; ++i) c = table.entries[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return ~c;
}

uint32_t adler32(const uint8_t* data, size_t size, uint32_t adler) {
    const uint32_t kBase = 65521;
    uint32_t a = adler & 0xFFFF, b = adler >> 16;
    while (size > 0) {
        // 5552 bytes is the most that keeps b below 2^32 before the reduction.
        size_t n = size < 5552 ? size : 5552;
        size -= n;
        while (n--) {
            a += *data++;
            b += a;
        }
        a %= kBase;
        b %= kBase;
    }
    return (b << 16) | a;
}
