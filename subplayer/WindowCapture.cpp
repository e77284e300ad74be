#include "subplayer/WindowCapture.h"

#include <cstring>

namespace {

int captureFromDc(HDC source, int x, int y, int width, int height, Image& image) {
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int ok = 0;
    if (section && memory) {
        HGDIOBJ old = SelectObject(memory, section);
        ok = BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY) != 0;
        GdiFlush();
        if (ok) {
            image = Image(width, height);
            const uint32_t* p = static_cast<const uint32_t*>(bits);
            for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = p[i] & 0xFFFFFF;
        }
        SelectObject(memory, old);
    }
    if (section) DeleteObject(section);
    if (memory) DeleteDC(memory);
    return ok;
}

}  // namespace

int captureWindow(HWND window, int x, int y, int width, int height, Image& image) {
    if (!IsWindow(window) || width <= 0 || height <= 0) return 0;
    HDC source = GetDC(window);
    if (!source) return 0;
    int ok = captureFromDc(source, x, y, width, height, image);
    ReleaseDC(window, source);
    return ok;
}

int captureClient(HWND window, Image& image) {
    RECT r;
    if (!GetClientRect(window, &r)) return 0;
    return captureWindow(window, 0, 0, r.right - r.left, r.bottom - r.top, image);
}

int captureWholeWindow(HWND window, Image& image) {
    RECT r;
    if (!IsWindow(window) || !GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top) return 0;
    // Paint what is pending first: a page the sheet has just switched to has not drawn itself yet.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC source = GetWindowDC(window);
    if (!source) return 0;
    int ok = captureFromDc(source, 0, 0, r.right - r.left, r.bottom - r.top, image);
    ReleaseDC(window, source);
    return ok;
}
