#include "render/RenderSurface.h"

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/Effects.h"
#include "utils/GdiGuards.h"
#include "utils/Text.h"
#include "utils/WinText.h"

void RenderSurface::createBuffers(HWND window, int32_t width, int32_t height, const Settings& settings) {
    releaseAll();
    row.invalidateLines();
    barWidth = 0;
    barHeight = 0;
    bufferWidth = 0;
    replaceBackgroundBrush(settings.ColorBACK);
    int32_t columns = bufferWidthFor(width, height);
    if (columns == 0) return;

    WindowDc windowDc(window);
    bool complete = makeBuffers(windowDc, width, height, columns) && row.makeLayers(windowDc) &&
                    makeBannerPictures(windowDc);
    if (!complete) {
        // Out of memory or GDI objects: no partial set, the bar stays undrawn.
        releaseBuffers();
        row.release();
        banner.reset();
        bannerSpare.reset();
        barWidth = barHeight = bufferWidth = 0;
        return;
    }
    row.clearSet(0);
    row.clearSet(1);
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
    if (drawn == RowFrame::Drawn) present(presenter, settings);
    return drawn == RowFrame::NoLine ? 0 : 1;
}

void RenderSurface::present(const FramePresenter& presenter, const Settings& settings) {
    applyEffects(barArea(kViewBuffer), settings.Effects, settings.ColorBACK);
    // Over the finished frame: the next frame is composed afresh from the layers, without it.
    if (!note.empty()) drawNote(settings);
    presenter.present(frame(), barWidth < bufferWidth ? barWidth : bufferWidth, barHeight);
}

void RenderSurface::drawNote(const Settings& settings) {
    HDC dc = buffers[kViewBuffer].dc;
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

void RenderSurface::takePrepared(std::unique_ptr<TextLayers> layers) { row.takePrepared(std::move(layers)); }

bool RenderSurface::holdsLines(const LyricsDocument& document, const Settings& settings,
                               std::initializer_list<int32_t> lines) {
    return row.holdsLines(document, settings, lines);
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
