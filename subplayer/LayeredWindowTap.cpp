#include "subplayer/LayeredWindowTap.h"

namespace {

// The call's record, as the system's headers lay it out (they declare it only for Windows Vista
// builds).
struct LayeredUpdate {
    DWORD cbSize;
    HDC hdcDst;
    const POINT* pptDst;
    const SIZE* psize;
    HDC hdcSrc;
    const POINT* pptSrc;
    COLORREF crKey;
    const BLENDFUNCTION* pblend;
    DWORD dwFlags;
    const RECT* prcDirty;
};
using UpdateFunction = BOOL(WINAPI*)(HWND, const LayeredUpdate*);

// The replacement is a plain function: its state lives here, for the one library watched.
UpdateFunction realUpdate = nullptr;
LONGLONG updateCounts = 0;
bool keeping = true;
bool kept = false;
LayeredPicture picture;

// The whole picture the window shows after the call: the source holds all of it, whatever part
// the call says changed. Without a size the window keeps its own, which the picture has.
void keepPicture(HWND window, const LayeredUpdate* update) {
    DIBSECTION dib = {};
    HGDIOBJ bitmap = update->hdcSrc ? GetCurrentObject(update->hdcSrc, OBJ_BITMAP) : nullptr;
    if (!bitmap || GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits || dib.dsBm.bmBitsPixel != 32)
        return;
    const SIZE* size = update->psize;
    int width = size ? size->cx : dib.dsBm.bmWidth, height = size ? size->cy : dib.dsBm.bmHeight;
    if (width <= 0 || height <= 0 || width > dib.dsBm.bmWidth || height > dib.dsBm.bmHeight) return;
    picture.window = window;
    picture.pixels = Image(width, height);
    const auto* bits = static_cast<const uint32_t*>(dib.dsBm.bmBits);
    bool bottomUp = dib.dsBmih.biHeight > 0;
    for (int y = 0; y < height; ++y) {
        int row = bottomUp ? dib.dsBm.bmHeight - 1 - y : y;
        for (int x = 0; x < width; ++x) picture.pixels.at(x, y) = bits[static_cast<size_t>(row) * dib.dsBm.bmWidth + x];
    }
    kept = true;
}

BOOL WINAPI watchedUpdate(HWND window, const LayeredUpdate* update) {
    if (keeping) keepPicture(window, update);
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    BOOL done = realUpdate(window, update);
    QueryPerformanceCounter(&end);
    updateCounts += end.QuadPart - begin.QuadPart;
    return done;
}

}  // namespace

void LayeredWindowTap::attach(HMODULE library) {
    detach();
    patch = std::make_unique<ImportPatch>(library, "user32.dll", "UpdateLayeredWindowIndirect",
                                          reinterpret_cast<void*>(watchedUpdate));
    if (!patch->applied()) {
        patch.reset();
        return;
    }
    realUpdate = reinterpret_cast<UpdateFunction>(patch->original());
    updateCounts = 0;
    kept = false;
    picture = LayeredPicture();
}

void LayeredWindowTap::detach() { patch.reset(); }

double LayeredWindowTap::takeUpdateMs() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double ms = static_cast<double>(updateCounts) * 1000.0 / static_cast<double>(frequency.QuadPart);
    updateCounts = 0;
    return ms;
}

void LayeredWindowTap::keepPictures(bool on) { keeping = on; }

bool LayeredWindowTap::lastPicture(LayeredPicture& out) const {
    if (!kept) return false;
    out = picture;
    return true;
}
