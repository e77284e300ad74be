#include "render/RenderSurface.h"

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "utils/WinPath.h"

void releaseBuffer(SurfaceBuffer& b) {
    if (b.dc && b.defaultBitmap) SelectObject(b.dc, b.defaultBitmap);
    if (b.bitmap) DeleteObject(b.bitmap);
    if (b.dc) DeleteDC(b.dc);
    b = SurfaceBuffer{};
}

namespace {

// Content no layers hold: buffers just made hold whatever the system gave them.
LayerContent unknownContent() {
    LayerContent unknown;
    unknown.background = -1;
    return unknown;
}

// Loads a bitmap file into a fresh memory DC; on failure the image stays empty.
void loadImage(SurfaceBuffer& image, const char* path, int width, int height) {
    releaseBuffer(image);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    std::wstring file = path ? widePath(path) : std::wstring();
    HANDLE bitmap = !file.empty() ? LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, width, height,
                                               LR_LOADFROMFILE | LR_CREATEDIBSECTION)
                                  : nullptr;
    if (!bitmap) {
        DeleteDC(dc);
        return;
    }
    image.dc = dc;
    image.bitmap = static_cast<HBITMAP>(bitmap);
    image.defaultBitmap = SelectObject(dc, bitmap);
    BITMAP info = {};
    if (GetObjectA(bitmap, sizeof info, &info)) {
        image.width = info.bmWidth;
        image.height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
}

}  // namespace

int32_t bufferWidthFor(int32_t width, int32_t height) {
    if (height <= 0 || height > kMaxBarHeight || width < 0) return 0;
    int32_t columns = 80 * height;
    if (width > columns) columns = width;
    return columns > kMaxBufferWidth ? kMaxBufferWidth : columns;
}

RenderSurface::~RenderSurface() { releaseAll(); }

bool RenderSurface::createBuffer(SurfaceBuffer& b, int k, HDC windowDc) {
    b.dc = CreateCompatibleDC(nullptr);
    if (!b.dc) return false;
    if (k < kComposeBuffer) {
        b.bitmap = CreateCompatibleBitmap(windowDc, bufferWidth, barHeight);
    } else {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = bufferWidth;
        info.bmiHeader.biHeight = barHeight;  // positive: rows bottom-up
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        info.bmiHeader.biSizeImage = static_cast<DWORD>(bufferWidth) * barHeight * 4;
        void* bits = nullptr;
        b.bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        b.pixels = static_cast<uint32_t*>(bits);
    }
    if (!b.bitmap) return false;
    b.defaultBitmap = SelectObject(b.dc, b.bitmap);
    b.width = bufferWidth;
    b.height = barHeight;
    return true;
}

void RenderSurface::createBuffers(HWND window, int32_t width, int32_t height, const Settings& settings) {
    releaseAll();
    invalidateLines();
    barWidth = 0;
    barHeight = 0;
    bufferWidth = 0;
    backgroundColour = settings.ColorBACK;
    backgroundBrush = CreateSolidBrush(static_cast<COLORREF>(backgroundColour));
    int32_t columns = bufferWidthFor(width, height);
    if (columns == 0) return;

    barWidth = width;
    barHeight = height;
    bufferWidth = columns;
    HDC windowDc = GetDC(window);
    bool complete = true;
    for (int k = 0; k < kBufferCount && complete; ++k) complete = createBuffer(buffers[k], k, windowDc);
    // Spare layers are made like the sets' own, so that they can change places with them.
    for (int i = 0; i < kSpareLayers && complete; ++i) {
        auto spare = std::make_unique<TextLayers>();
        for (int r = 0; r < 3 && complete; ++r) complete = createBuffer(spare->layers[r], 2 * r, windowDc);
        spare->content = unknownContent();
        spare->generation = generation;
        spares.push_back(std::move(spare));
    }
    // The banner's pictures are made like the compose buffers.
    for (std::unique_ptr<BannerPicture>* picture : {&banner, &bannerSpare}) {
        if (!complete) break;
        *picture = std::make_unique<BannerPicture>();
        complete = createBuffer((*picture)->picture, kComposeBuffer, windowDc);
        (*picture)->content.background = -1;
        (*picture)->generation = generation;
    }
    ReleaseDC(window, windowDc);
    if (!complete) {
        // Out of memory or GDI objects: no partial set, the bar stays undrawn.
        for (SurfaceBuffer& b : buffers) releaseBuffer(b);
        spares.clear();
        banner.reset();
        bannerSpare.reset();
        barWidth = barHeight = bufferWidth = 0;
        return;
    }
    clearSet(0);
    clearSet(1);
}

void RenderSurface::releaseAll() {
    for (SurfaceBuffer& b : buffers) releaseBuffer(b);
    // Layers out with the preparer belong to these buffers no more: they are dropped on return.
    ++generation;
    spares.clear();
    beingPrepared.clear();
    banner.reset();
    bannerSpare.reset();
    setContent[0] = setContent[1] = unknownContent();
    for (SetFont* held : {&setFonts[0], &setFonts[1], &noteFont}) {
        if (held->font) DeleteObject(held->font);
        *held = SetFont{};
    }
    releaseBuffer(hostSkinImage);
    releaseBuffer(skinImage);
    if (backgroundBrush) DeleteObject(backgroundBrush);
    backgroundBrush = nullptr;
}

void RenderSurface::fillBackground(int k, int x, int y, int w, int h) {
    if (!buffers[k].dc || w <= 0 || h <= 0) return;
    RECT r = {x, y, x + w, y + h};
    HBRUSH brush = hasSkin() ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)) : backgroundBrush;
    if (brush) FillRect(buffers[k].dc, &r, brush);
}

PixelArea RenderSurface::barArea(int k) const {
    const SurfaceBuffer& b = buffers[k];
    if (!b.pixels) return {nullptr, 0, 0, 0};
    return {b.pixels, bufferWidth, barWidth, barHeight};
}

void RenderSurface::copyColumns(const SurfaceBuffer& source, int32_t sourceX, int k, int32_t destX,
                                int32_t columns) {
    const SurfaceBuffer& dest = buffers[k];
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

void RenderSurface::clearSet(int set) {
    clearView(set);
    holdInSet(set, blankContent(), false);
}

void RenderSurface::clearView(int set) { fillBackground(set + kViewBuffer, 0, 0, barWidth, barHeight); }

bool RenderSurface::isPrepared(const LayerContent& content) const {
    // Not the sets': at a cross-fade the line set 0 shows moves to set 1, and set 0 wants the
    // next line, even when its text and colours are the same.
    for (const std::unique_ptr<TextLayers>& spare : spares)
        if (spare->content == content) return true;
    for (const LayerContent& preparing : beingPrepared)
        if (preparing == content) return true;
    return false;
}

void RenderSurface::prepareLines(const LyricsDocument& document, const Settings& settings,
                                 std::initializer_list<int32_t> lines) {
    if (!preparer || !hasBuffers()) return;
    std::vector<LayerContent> wanted;
    for (int32_t n : lines)
        if (const LyricsLine* line = document.line(n)) wanted.push_back(contentFor(*line, settings));
    auto isWanted = [&wanted](const LayerContent& content) {
        for (const LayerContent& want : wanted)
            if (want == content) return true;
        return false;
    };
    for (const LayerContent& want : wanted) {
        if (isPrepared(want)) continue;
        auto free = spares.begin();
        while (free != spares.end() && isWanted((*free)->content)) ++free;
        if (free == spares.end()) return;
        std::unique_ptr<TextLayers> layers = std::move(*free);
        spares.erase(free);
        layers->content = want;
        beingPrepared.push_back(want);
        preparer->prepare(std::move(layers));
    }
}

void RenderSurface::takePrepared(std::unique_ptr<TextLayers> layers) {
    if (!layers || layers->generation != generation) return;
    for (auto preparing = beingPrepared.begin(); preparing != beingPrepared.end(); ++preparing)
        if (*preparing == layers->content) {
            beingPrepared.erase(preparing);
            break;
        }
    spares.push_back(std::move(layers));
}

const BannerPicture* RenderSurface::bannerFor(const BannerContent& content) {
    if (!banner) return nullptr;
    if (banner->content == content) return banner.get();
    if (bannerSpare && bannerSpare->content == content) {
        std::swap(banner, bannerSpare);
        return banner.get();
    }
    if (!preparer) {
        banner->content = content;
        banner->draw();
        return banner.get();
    }
    prepareBanner(content);
    return nullptr;
}

void RenderSurface::prepareBanner(const BannerContent& content) {
    // A spare out with the preparer is lent again once it is back.
    if (!preparer || !bannerSpare || holdsBanner(content)) return;
    bannerSpare->content = content;
    preparer->prepareBanner(std::move(bannerSpare));
}

bool RenderSurface::holdsBanner(const BannerContent& content) const {
    if (!banner) return true;  // no buffers: nothing to draw
    return banner->content == content || (bannerSpare && bannerSpare->content == content);
}

void RenderSurface::takePreparedBanner(std::unique_ptr<BannerPicture> picture) {
    if (picture && picture->generation == generation) bannerSpare = std::move(picture);
}

bool RenderSurface::holdsLines(const LyricsDocument& document, const Settings& settings,
                               std::initializer_list<int32_t> lines) {
    if (!hasBuffers()) return true;
    for (int32_t n : lines) {
        const LyricsLine* line = document.line(n);
        if (!line) continue;
        LayerContent content = contentFor(*line, settings);
        bool held = setContent[0] == content || setContent[1] == content;
        for (const std::unique_ptr<TextLayers>& spare : spares) held = held || spare->content == content;
        if (!held) return false;
    }
    return true;
}

int RenderSurface::loadSkin(const Settings& settings) {
    // The skin is only ever shown inside the buffers, so it is never stretched past the widest
    // buffer, and a size no buffers can be made for loads none: an absurd size in the INI file
    // must not make the picture allocate without bound.
    if (bufferWidthFor(settings.width, settings.height) == 0) {
        releaseBuffer(skinImage);
        return 0;
    }
    int32_t width = settings.width < kMaxBufferWidth ? settings.width : kMaxBufferWidth;
    loadImage(skinImage, settings.SkinPath, width, settings.height);
    return hasSkin() ? 1 : 0;
}

void RenderSurface::loadHostSkin(const std::string& folder) {
    loadImage(hostSkinImage, (folder + "\\main.bmp").c_str(), 0, 0);
}

void RenderSurface::replaceBackgroundBrush(int32_t colour) {
    if (backgroundBrush) DeleteObject(backgroundBrush);
    backgroundColour = colour;
    backgroundBrush = CreateSolidBrush(static_cast<COLORREF>(colour));
}

void RenderSurface::invalidateLines() { shownLine = kNoLine; }
