#pragma once
// The bar's drawing surface: its canvas (the bar-sized buffers, the skin and the background), the
// row of lyrics drawn on it, the title banner's pictures, the host player's own skin picture and
// the timing note. Each lyrics frame the row draws the finished frame; the effects and the note go
// over it, and a presenter hands it to a window.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "render/BannerPicture.h"
#include "render/BarCanvas.h"
#include "render/FaceCache.h"
#include "render/FramePresenter.h"
#include "render/LyricsRow.h"
#include "render/OutlinedText.h"

class LyricsDocument;
class Settings;

class RenderSurface : public BarCanvas {
public:
    RenderSurface() = default;

    // (Re)creates the buffers, the row's text layers, the banner's pictures and the background
    // brush for a bar of width x height pixels; every line is drawn afresh into them. A size the
    // buffers cannot be made for leaves them empty: nothing is drawn until the size is sane again.
    void createBuffers(HWND window, int32_t width, int32_t height, const Settings& settings);
    // Releases every GDI object and clears its handle, so releasing twice is harmless.
    void releaseAll();
    // Loads folder (UTF-8) + "\main.bmp" at its own size; a failure leaves no host skin picture.
    void loadHostSkin(const std::string& folder);

    // Advances the row's display state by one frame and hands the result to the presenter.
    // Returns 0 only when Showing finds no document or no such line (nothing is drawn).
    int renderFrame(const FramePresenter& presenter, int32_t lineIndex, int32_t positionMs, const Settings& settings,
                    LyricsDocument* document);

    // Drawing ahead: the row's lines (LineLayers) and the banner's picture go to the preparer
    // (none: everything is drawn when needed) and come back through takePrepared.
    void prepareLines(const LyricsDocument& document, const Settings& settings, std::initializer_list<int32_t> lines);
    void takePrepared(std::unique_ptr<TextLayers> layers);
    bool holdsLines(const LyricsDocument& document, const Settings& settings, std::initializer_list<int32_t> lines);
    LayerPreparer* preparer = nullptr;

    // The title banner's picture holding content, or null while it is drawn ahead: a spare that
    // holds it is swapped in; otherwise the preparer is given the spare to draw it into, or,
    // without one, the picture is drawn now. Null without buffers.
    const BannerPicture* bannerFor(const BannerContent& content);
    // Has content drawn ahead into the spare picture, unless a picture holds it already.
    void prepareBanner(const BannerContent& content);
    bool holdsBanner(const BannerContent& content) const;
    void takePreparedBanner(std::unique_ptr<BannerPicture> picture);

    // A short note drawn over every lyrics frame at the bar's right end while it is not empty
    // (the timing the user just fixed: "+0.3 s"). It goes over the finished frame only, never into
    // the text layers, so the wipe and the layers drawn ahead go on as they were.
    std::wstring note;

    SurfaceBuffer hostSkinImage;
    LyricsRow row{*this};

private:
    bool makeBannerPictures(HDC windowDc);
    // Lays the Effects gradient over the finished frame, then the note, if any, and hands the bar
    // to the presenter.
    void present(const FramePresenter& presenter, const Settings& settings);
    void drawNote(const Settings& settings);

    std::unique_ptr<BannerPicture> banner;       // the title banner's picture
    std::unique_ptr<BannerPicture> bannerSpare;  // null while out with the preparer
    uint32_t bannerGeneration = 0;               // counts releases
    FaceCache noteFaces{1};
    TextFont noteFont;
};
