#pragma once
// The two checksums of PNG files: CRC-32 over each chunk, Adler-32 over the zlib stream.
#include <cstddef>
#include <cstdint>

// Continue a running value by passing the previous result (start with 0 and 1 respectively).
uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t adler32(const uint8_t* data, size_t size, uint32_t adler = 1);
