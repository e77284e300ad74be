#pragma once
// Bitmap files for the tests that hand skins to the plug-in: 24-bit, rows bottom-up, as LoadImage
// reads them.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

// The bytes of a file whose pixel (x, y counted from the top) is pixelAt(x, y), 0x00RRGGBB.
template <typename PixelAt>
std::string bitmapFileBytes(int width, int height, PixelAt pixelAt) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * height;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            uint32_t pixel = pixelAt(x, y);
            row[x * 3] = static_cast<char>(pixel & 0xFF);  // blue, green, red
            row[x * 3 + 1] = static_cast<char>(pixel >> 8 & 0xFF);
            row[x * 3 + 2] = static_cast<char>(pixel >> 16 & 0xFF);
        }
        bytes += row;
    }
    return bytes;
}

template <typename PixelAt>
bool writeBitmapFile(const std::string& path, int width, int height, PixelAt pixelAt) {
    std::string bytes = bitmapFileBytes(width, height, pixelAt);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}
