#include "render/SurfaceBuffer.h"

#include <string>
#include <utility>

#include "utils/WinPath.h"

namespace {

// The buffer of a DC and a bitmap just made: the bitmap goes into the DC. Empty unless both were
// made.
SurfaceBuffer holding(MemoryDc dc, OwnedBitmap bitmap, int32_t width, int32_t height) {
    SurfaceBuffer b;
    if (!dc || !bitmap) return b;
    b.dc = std::move(dc);
    b.bitmap = std::move(bitmap);
    b.selection = SelectedObject(b.dc, b.bitmap);
    b.width = width;
    b.height = height;
    return b;
}

}  // namespace

void SurfaceBuffer::swap(SurfaceBuffer& other) noexcept {
    std::swap(dc, other.dc);
    std::swap(bitmap, other.bitmap);
    std::swap(selection, other.selection);
    std::swap(pixels, other.pixels);
    std::swap(width, other.width);
    std::swap(height, other.height);
}

SurfaceBuffer makeDisplayBuffer(HDC windowDc, int32_t width, int32_t height) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return SurfaceBuffer();
    return holding(std::move(dc), OwnedBitmap(CreateCompatibleBitmap(windowDc, width, height)), width, height);
}

SurfaceBuffer makePixelBuffer(HDC windowDc, int32_t width, int32_t height) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return SurfaceBuffer();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * height * 4;
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SurfaceBuffer b = holding(std::move(dc), std::move(bitmap), width, height);
    if (b.dc) b.pixels = static_cast<uint32_t*>(bits);
    return b;
}

SurfaceBuffer loadBitmapFile(const char* path, int32_t width, int32_t height) {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return SurfaceBuffer();
    std::wstring file = path ? widePath(path) : std::wstring();
    HANDLE loaded = !file.empty() ? LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, width, height,
                                               LR_LOADFROMFILE | LR_CREATEDIBSECTION)
                                  : nullptr;
    OwnedBitmap bitmap(static_cast<HBITMAP>(loaded));
    BITMAP info = {};
    if (bitmap && GetObjectA(bitmap, sizeof info, &info)) {
        width = info.bmWidth;
        height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    } else {
        width = height = 0;
    }
    return holding(std::move(dc), std::move(bitmap), width, height);
}

void copyColumns(const SurfaceBuffer& source, int32_t sourceX, const SurfaceBuffer& dest, int32_t destX,
                 int32_t columns) {
    if (!source.dc || !dest.dc) return;
    if (sourceX < 0) {
        columns += sourceX;
        destX -= sourceX;
        sourceX = 0;
    }
    if (destX < 0) {
        columns += destX;
        sourceX -= destX;
        destX = 0;
    }
    if (columns > source.width - sourceX) columns = source.width - sourceX;
    if (columns > dest.width - destX) columns = dest.width - destX;
    int32_t rows = source.height < dest.height ? source.height : dest.height;
    if (columns <= 0 || rows <= 0) return;
    BitBlt(dest.dc, destX, 0, columns, rows, source.dc, sourceX, 0, SRCCOPY);
}
