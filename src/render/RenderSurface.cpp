#include "render/RenderSurface.h"

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/Effects.h"
#include "render/TwoRows.h"
#include "utils/GdiGuards.h"
#include "utils/Text.h"
#include "utils/WinText.h"

void RenderSurface::createBuffers(HWND window, int32_t width, int32_t height, const Settings& settings,
                                  int32_t outline) {
    releaseAll();
    outlineWidth = lowerCanvas.outlineWidth = outline;
    row.invalidateLines();
    lowerRow.invalidateLines();
    barWidth = 0;
    barHeight = 0;
    bufferWidth = 0;
    replaceBackgroundBrush(settings.ColorBACK);
    int32_t columns = bufferWidthFor(width, height);
    if (columns == 0) return;

    WindowDc windowDc(window);
    bool complete = makeBuffers(windowDc, width, height, columns) && row.makeLayers(windowDc) &&
                    makeBannerPictures(windowDc) &&
                    (settings.Rows != 2 || makeLowerRow(windowDc, width, height, columns, settings));
    if (!complete) {
        // Out of memory or GDI objects: no partial set, the bar stays undrawn.
        releaseBuffers();
        row.release();
        releaseLowerRow();
        banner.reset();
        bannerSpare.reset();
        barWidth = barHeight = bufferWidth = 0;
        return;
    }
    row.clearSet(0);
    row.clearSet(1);
    row.secondVoiceRight = lowerRow.secondVoiceRight = twoRows();
    if (twoRows()) {
        lowerRow.clearSet(0);
        lowerRow.clearSet(1);
        fillRectangle(stacked, 0, 0, stacked.width, stacked.height, colourToPixel(layerBackground()));
    }
}

bool RenderSurface::makeLowerRow(HDC windowDc, int32_t width, int32_t height, int32_t columns,
                                 const Settings& settings) {
    lowerCanvas.replaceBackgroundBrush(settings.ColorBACK);
    setLowerRole(settings);
    if (!lowerCanvas.makeBuffers(windowDc, width, height, columns) || !lowerRow.makeLayers(windowDc)) return false;
    stacked = makePixelBuffer(windowDc, columns, 2 * height);
    return stacked.pixels != nullptr;
}

void RenderSurface::releaseLowerRow() {
    lowerCanvas.releaseBuffers();
    lowerCanvas.barWidth = lowerCanvas.barHeight = lowerCanvas.bufferWidth = 0;
    lowerCanvas.skinImage.release();
    lowerRow.release();
    stacked.release();
}

void RenderSurface::setLowerRole(const Settings& settings) {
    RowRole role = settings.SecondRow == kTranslationRow || settings.SecondRow == kRomanisationRow ? RowRole::UnderLines
                                                                                                   : RowRole::SungLines;
    if (lowerRow.role == role) return;
    lowerRow.role = role;
    lowerRow.invalidateLines();
}

int RenderSurface::loadBarSkin(const Settings& settings) {
    if (!twoRows()) return loadSkin(settings);
    // One picture over both rows, cut between them: each row's canvas keeps its half.
    skinImage.release();
    lowerCanvas.skinImage.release();
    if (bufferWidthFor(settings.width, settings.height) == 0) return 0;
    int32_t width = settings.width < kMaxBufferWidth ? settings.width : kMaxBufferWidth;
    SurfaceBuffer whole = pixelCopyOf(loadBitmapFile(textOrNull(settings.SkinPath), width, 2 * settings.height));
    skinImage = pictureRows(whole, 0, settings.height);
    lowerCanvas.skinImage = pictureRows(whole, settings.height, settings.height);
    if (!hasSkin() || !lowerCanvas.hasSkin()) {
        skinImage.release();
        lowerCanvas.skinImage.release();
    }
    return hasSkin() ? 1 : 0;
}

void RenderSurface::takeColours(int32_t background) {
    replaceBackgroundBrush(background);
    lowerCanvas.replaceBackgroundBrush(background);
    row.invalidateLines();
    lowerRow.invalidateLines();
}

bool RenderSurface::makeBannerPictures(HDC windowDc) {
    int32_t columns = bannerWidthFor(barWidth, barHeight);
    for (std::unique_ptr<BannerPicture>* picture : {&banner, &bannerSpare}) {
        *picture = std::make_unique<BannerPicture>();
        (*picture)->picture = makePixelBuffer(windowDc, columns, barHeight);
        if (!(*picture)->picture.dc) return false;
        (*picture)->content.background = -1;
        (*picture)->generation = bannerGeneration;
    }
    return true;
}

void RenderSurface::releaseAll() {
    releaseBuffers();
    row.release();
    releaseLowerRow();
    // Pictures out with the preparer belong to these buffers no more: they are dropped on return.
    ++bannerGeneration;
    banner.reset();
    bannerSpare.reset();
    noteFont.release();
    hostSkinImage.release();
    skinImage.release();
    backgroundBrush.reset();
}

void RenderSurface::loadHostSkin(const std::string& folder) {
    hostSkinImage.release();
    hostSkinImage = loadBitmapFile((folder + "\\main.bmp").c_str(), 0, 0);
}

int RenderSurface::renderFrame(const FramePresenter& presenter, int32_t lineIndex, int32_t positionMs,
                               const Settings& settings, LyricsDocument* document) {
    if (!hasBuffers()) return 1;  // no size the buffers could be made for: nothing to draw
    // What GDI drew into the frame last time (the timing note) is in its memory before the row
    // writes there.
    GdiFlush();
    RowFrame drawn = row.drawFrame(lineIndex, positionMs, settings, document);
    if (!twoRows()) {
        if (drawn == RowFrame::Drawn) present(presenter, settings);
        return drawn == RowFrame::NoLine ? 0 : 1;
    }
    int32_t lowerLine = lowerRow.role == RowRole::UnderLines ? lineIndex : lowerRow.dueLine;
    RowFrame lower = lowerRow.drawFrame(lowerLine, positionMs, settings, document);
    // A row that drew nothing new keeps its band as it was.
    if (lower == RowFrame::Drawn) stackRow(1, settings);
    if (drawn == RowFrame::Drawn) stackRow(0, settings);
    if (drawn == RowFrame::Drawn || lower == RowFrame::Drawn)
        presentStacked(presenter, barWidth < bufferWidth ? barWidth : bufferWidth, 2 * barHeight);
    return drawn == RowFrame::NoLine ? 0 : 1;
}

void RenderSurface::displayStep(LyricsDocument& document, int32_t positionMs, const Settings& settings) {
    if (!twoRows()) {
        ::displayStep(row, document, positionMs, settings);
        return;
    }
    setLowerRole(settings);
    if (lowerRow.role == RowRole::SungLines) {
        DisplayStatus* rows[2] = {&row, &lowerRow};
        RowStart starts[2];
        decideAlternatingRows(rows, document, positionMs, settings, starts);
        row.beginFade(starts[0].start, starts[0].line, positionMs, document, settings);
        lowerRow.beginFade(starts[1].start, starts[1].line, positionMs, document, settings);
        return;
    }
    // What goes under the sung line comes and goes with it: the bottom row takes every decision of
    // the top one. Its own shown line stays its own: it may have to be drawn afresh.
    FadeStart start = decideDisplayStep(row, document, positionMs, settings);
    int32_t shown = row.shownLine == kNoLine ? kNoLine : lowerRow.shownLine;
    static_cast<DisplayStatus&>(lowerRow) = row;
    lowerRow.shownLine = shown;
    row.beginFade(start, row.dueLine, positionMs, document, settings);
    lowerRow.beginFade(start, row.dueLine, positionMs, document, settings);
}

void RenderSurface::prepareAhead(const LyricsDocument& document, const Settings& settings) {
    if (!twoRows()) {
        prepareLines(document, settings, {row.dueLine + 1});
        return;
    }
    // Alternating rows each want the line after the other row's; a bottom row under the top one
    // wants what goes under the top row's next line.
    int32_t step = lowerRow.role == RowRole::SungLines ? 2 : 1;
    int32_t lowerDue = lowerRow.role == RowRole::SungLines ? lowerRow.dueLine : row.dueLine;
    row.prepareLines(preparer, document, settings, {row.dueLine + step});
    lowerRow.prepareLines(preparer, document, settings, {lowerDue + step});
}

void RenderSurface::present(const FramePresenter& presenter, const Settings& settings) {
    applyEffects(barArea(kViewBuffer), settings.Effects, settings.ColorBACK);
    // Over the finished frame: the next frame is composed afresh from the layers, without it.
    if (!note.empty()) drawNote(buffers[kViewBuffer].dc, settings);
    presenter.present(frame(), barWidth < bufferWidth ? barWidth : bufferWidth, barHeight);
}

PixelArea RenderSurface::band(int r) const {
    int32_t firstRow = stacked.height - (r + 1) * barHeight;  // bottom-up in memory
    return {stacked.pixels + static_cast<intptr_t>(firstRow) * stacked.width, stacked.width,
            barWidth < bufferWidth ? barWidth : bufferWidth, barHeight};
}

void RenderSurface::stackRow(int r, const Settings& settings) {
    copyPicture(r == 0 ? frame() : lowerCanvas.frame(), stacked, r * barHeight);
    applyEffects(band(r), settings.Effects, settings.ColorBACK);
    if (r == 0 && !note.empty()) drawNote(stacked.dc, settings);
}

void RenderSurface::presentStacked(const FramePresenter& presenter, int32_t columns, int32_t rows) {
    presenter.present(stacked, columns, rows);
}

void RenderSurface::presentBanner(const FramePresenter& presenter, int32_t columns, int32_t rows,
                                  const Settings& settings) {
    if (!twoRows()) {
        presenter.present(frame(), columns, rows);
        return;
    }
    // The banner's frame has its effects already; the bottom row is blank: its background, or
    // its part of the skin, with the effects a blank row has.
    copyPicture(frame(), stacked, 0);
    if (lowerCanvas.hasSkin()) {
        copyPicture(lowerCanvas.skinImage, stacked, barHeight);
    } else {
        fillRectangle(stacked, 0, barHeight, stacked.width, barHeight, colourToPixel(lowerCanvas.backgroundColour));
    }
    applyEffects(band(1), settings.Effects, settings.ColorBACK);
    presentStacked(presenter, columns, rows + barHeight);
}

void RenderSurface::drawNote(HDC dc, const Settings& settings) {
    const std::wstring& face = noteFaces.faceFor(narrow(note), textOrNull(settings.FontName)).face;
    SelectedObject font(dc, noteFont.fontFor(barHeight, face));
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, note.c_str(), static_cast<int>(note.size()), &size);
    // A box of the background at the bar's right end, edged on its left in the sung colour.
    int32_t boxWidth = size.cx + 9 < barWidth ? size.cx + 9 : barWidth;
    RECT box = {barWidth - boxWidth, 0, barWidth, barHeight};
    OwnedBrush fill(CreateSolidBrush(static_cast<COLORREF>(settings.ColorBACK)));
    OwnedBrush edge(CreateSolidBrush(static_cast<COLORREF>(settings.ColorA3)));
    if (fill) FillRect(dc, &box, fill);
    RECT edgeLine = {box.left, 0, box.left + 1, barHeight};
    if (edge) FillRect(dc, &edgeLine, edge);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(settings.ColorA3));
    TextOutW(dc, box.left + 5, (barHeight - size.cy) / 2, note.c_str(), static_cast<int>(note.size()));
}

void RenderSurface::prepareLines(const LyricsDocument& document, const Settings& settings,
                                 std::initializer_list<int32_t> lines) {
    row.prepareLines(preparer, document, settings, lines);
}

namespace {

// The lines each row shows first when a display starts at line `shown`: line 0 and `shown` in the
// top row, and below them what goes under each, or, where the lines alternate (line n is row
// n % 2's and the other row holds the line after it, still), the row's own of those and the next.
struct FirstLines {
    int32_t top[2];
    int32_t bottom[2];
};

FirstLines firstLinesOf(int32_t shown, RowRole lowerRole) {
    if (lowerRole == RowRole::UnderLines) return {{0, shown}, {0, shown}};
    bool even = shown % 2 == 0;
    return {{0, even ? shown : shown + 1}, {1, even ? shown + 1 : shown}};
}

}  // namespace

void RenderSurface::prepareFirstLines(const LyricsDocument& document, const Settings& settings, int32_t shown) {
    if (!twoRows()) {
        row.prepareLines(preparer, document, settings, {0, shown});
        return;
    }
    FirstLines first = firstLinesOf(shown, lowerRow.role);
    row.prepareLines(preparer, document, settings, {first.top[0], first.top[1]});
    lowerRow.prepareLines(preparer, document, settings, {first.bottom[0], first.bottom[1]});
}

bool RenderSurface::holdsFirstLines(const LyricsDocument& document, const Settings& settings, int32_t shown) {
    if (!twoRows()) return row.holdsLines(document, settings, {0, shown});
    FirstLines first = firstLinesOf(shown, lowerRow.role);
    return row.holdsLines(document, settings, {first.top[0], first.top[1]}) &&
           lowerRow.holdsLines(document, settings, {first.bottom[0], first.bottom[1]});
}

void RenderSurface::takePrepared(std::unique_ptr<TextLayers> layers) {
    if (!layers) return;
    if (lowerRow.layers.madeHere(*layers))
        lowerRow.takePrepared(std::move(layers));
    else
        row.takePrepared(std::move(layers));
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
    if (picture && picture->generation == bannerGeneration) bannerSpare = std::move(picture);
}
