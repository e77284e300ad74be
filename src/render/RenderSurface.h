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

    // (Re)creates the buffers, the rows' text layers, the banner's pictures and the background
    // brush for a bar of width x height pixels a row, with the settings' Rows, its lines outlined
    // `outline` pixels wide; every line is drawn afresh into them. A size the buffers cannot be
    // made for leaves them empty: nothing is drawn until the size is sane again.
    void createBuffers(HWND window, int32_t width, int32_t height, const Settings& settings,
                       int32_t outline = kOutlineWidth);
    // Loads SkinPath over the whole bar (stretched over both rows of two, and cut between them).
    // Returns 1 when a skin is in place.
    int loadBarSkin(const Settings& settings);
    // The background brush takes the colour, and every line is drawn afresh.
    void takeColours(int32_t background);
    // The rows the buffers were made for: 1, or 2.
    int32_t rowCount() const { return twoRows() ? 2 : 1; }
    bool twoRows() const { return stacked.pixels != nullptr; }
    // The whole bar as it last reached the screen: the top row's finished frame, or the two
    // rows' stacked.
    const SurfaceBuffer& shownFrame() const { return twoRows() ? stacked : frame(); }
    // Releases every GDI object and clears its handle, so releasing twice is harmless.
    void releaseAll();
    // Loads folder (UTF-8) + "\main.bmp" at its own size; a failure leaves no host skin picture.
    void loadHostSkin(const std::string& folder);

    // Advances the rows' display states by one frame and hands the result to the presenter: the
    // top row shows lineIndex, the bottom one its own due line (a bar of alternating rows) or what
    // goes under lineIndex. Returns 0 only when the top row's Showing finds no document or no
    // such line (nothing is drawn).
    int renderFrame(const FramePresenter& presenter, int32_t lineIndex, int32_t positionMs, const Settings& settings,
                    LyricsDocument* document);
    // The display step of a lyrics frame for every row: one row's as ever; two alternating rows
    // (TwoRows.h); or a bottom row that follows the top one with what goes under its line.
    void displayStep(LyricsDocument& document, int32_t positionMs, const Settings& settings);
    // After a title banner composed into the top row's frame: a bar of two rows shows it on top
    // of a blank bottom row. Hands the bar to the presenter.
    void presentBanner(const FramePresenter& presenter, int32_t columns, int32_t rows, const Settings& settings);

    // Drawing ahead: the row's lines (LineLayers) and the banner's picture go to the preparer
    // (none: everything is drawn when needed) and come back through takePrepared.
    void prepareLines(const LyricsDocument& document, const Settings& settings, std::initializer_list<int32_t> lines);
    // What the next tick that changes lines will want, drawn ahead: the line after the due one,
    // and what the bottom row of two will show next.
    void prepareAhead(const LyricsDocument& document, const Settings& settings);
    // The first lines a display that starts at line `shown` wants, drawn ahead: line 0 and `shown`
    // in the top row, and in the bottom row of two what it shows beside them (the line after each,
    // in the row of its own when the lines alternate, or what goes under each).
    void prepareFirstLines(const LyricsDocument& document, const Settings& settings, int32_t shown);
    // Whether every row holds them, so that no tick draws them.
    bool holdsFirstLines(const LyricsDocument& document, const Settings& settings, int32_t shown);
    void takePrepared(std::unique_ptr<TextLayers> layers);
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
    // The bottom row of a bar of two rows: a canvas of its own, as high as the top row's, and its
    // row. Without two rows it has no buffers.
    BarCanvas lowerCanvas;
    LyricsRow lowerRow{lowerCanvas};

private:
    bool makeBannerPictures(HDC windowDc);
    // Lays the Effects gradient over the finished frame, then the note, if any, and hands the bar
    // to the presenter.
    void present(const FramePresenter& presenter, const Settings& settings);
    void drawNote(HDC dc, const Settings& settings);
    // Two rows: the rows' new frames go into their bands of the stacked frame, each with the
    // effects as a bar of one row has them, the note over the top one.
    void stackRow(int r, const Settings& settings);
    void presentStacked(const FramePresenter& presenter, int32_t columns, int32_t rows);
    bool makeLowerRow(HDC windowDc, int32_t width, int32_t height, int32_t columns, const Settings& settings);
    void releaseLowerRow();
    PixelArea band(int r) const;
    void setLowerRole(const Settings& settings);

    SurfaceBuffer stacked;  // two rows: the bar of both, presented whole

    std::unique_ptr<BannerPicture> banner;       // the title banner's picture
    std::unique_ptr<BannerPicture> bannerSpare;  // null while out with the preparer
    uint32_t bannerGeneration = 0;               // counts releases
    FaceCache noteFaces{1};
    TextFont noteFont;
};
