#include "render/SurfaceBuffer.h"

#include <string>
#include <utility>

#include "render/PixelPasses.h"
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
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
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

SurfaceBuffer pixelCopyOf(const SurfaceBuffer& picture) {
    if (!picture.dc) return SurfaceBuffer();
    SurfaceBuffer copy = makePixelBuffer(nullptr, picture.width, picture.height);
    if (!copy.dc) return copy;
    BitBlt(copy.dc, 0, 0, picture.width, picture.height, picture.dc, 0, 0, SRCCOPY);
    GdiFlush();  // in its memory before anyone reads it there
    return copy;
}

namespace {

// Rows [y, y + rows) from the picture's top, columns [x, x + columns), inside the picture: in
// memory, bottom-up, they start `height - y - rows` rows up.
PixelArea areaOf(const SurfaceBuffer& picture, int32_t x, int32_t y, int32_t columns, int32_t rows) {
    intptr_t firstRow = picture.height - y - rows;
    return {picture.pixels + firstRow * picture.width + x, picture.width, columns, rows};
}

}  // namespace

void copyColumns(const SurfaceBuffer& source, int32_t sourceX, const SurfaceBuffer& dest, int32_t destX,
                 int32_t columns) {
    if (!source.pixels || !dest.pixels) return;
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
    copyPixels(areaOf(source, sourceX, 0, columns, rows), areaOf(dest, destX, 0, columns, rows));
}

void copyPicture(const SurfaceBuffer& source, const SurfaceBuffer& dest, int32_t destY) {
    if (!source.pixels || !dest.pixels) return;
    int64_t first = destY < 0 ? -int64_t{destY} : 0;  // the source's first row copied
    int64_t rows = int64_t{source.height} - first;
    if (rows > int64_t{dest.height} - (destY + first)) rows = int64_t{dest.height} - (destY + first);
    int32_t columns = source.width < dest.width ? source.width : dest.width;
    if (rows <= 0 || columns <= 0) return;
    copyPixels(areaOf(source, 0, static_cast<int32_t>(first), columns, static_cast<int32_t>(rows)),
               areaOf(dest, 0, static_cast<int32_t>(destY + first), columns, static_cast<int32_t>(rows)));
}

SurfaceBuffer pictureRows(const SurfaceBuffer& picture, int32_t y, int32_t rows) {
    if (!picture.pixels || y < 0 || rows <= 0 || rows > picture.height - y) return {};
    SurfaceBuffer part = makePixelBuffer(nullptr, picture.width, rows);
    copyPicture(picture, part, -y);
    return part;
}

void fillRectangle(const SurfaceBuffer& buffer, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t pixel) {
    if (!buffer.pixels) return;
    int64_t left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
    int64_t right = int64_t{x} + w, bottom = int64_t{y} + h;
    if (right > buffer.width) right = buffer.width;
    if (bottom > buffer.height) bottom = buffer.height;
    if (right <= left || bottom <= top) return;
    fillPixels(areaOf(buffer, static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right - left),
                      static_cast<int32_t>(bottom - top)),
               pixel);
}
