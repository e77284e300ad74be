// The display states frame by frame: what each state draws, which pixel passes it runs, and the
// copy of the finished frame to the screen.
#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/Effects.h"
#include "render/FontChoice.h"
#include "render/OutlinedText.h"
#include "render/RenderSurface.h"

void RenderSurface::overlaySkin(int set, int32_t percentage) {
    int compose = set + kComposeBuffer, view = set + kViewBuffer;
    copyColumns(skinImage, 0, compose, 0, barWidth);
    GdiFlush();  // the pixel memory must hold what GDI drew before it is read
    overlayKeyed(barArea(view), barArea(compose), percentage);
    copyColumns(buffers[compose], 0, view, 0, barWidth);
}

void RenderSurface::drawNote(const Settings& settings) {
    HDC dc = buffers[kViewBuffer].dc;
    // The face is chosen once for a note: for a FontName the system lacks, choosing weighs every
    // installed face.
    std::string fontName = settings.FontName ? settings.FontName : "";
    if (noteFace.wide != note || noteFace.fontName != fontName) {
        std::u16string_view units(reinterpret_cast<const char16_t*>(note.data()), note.size());
        noteFace = {std::string(), fontName, note, faceForText(settings.FontName, units)};
    }
    HGDIOBJ keptFont = SelectObject(dc, heldFont(noteFont, noteFace.face));
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, note.c_str(), static_cast<int>(note.size()), &size);
    // A box of the background at the bar's right end, edged on its left in the sung colour.
    int32_t boxWidth = size.cx + 9 < barWidth ? size.cx + 9 : barWidth;
    RECT box = {barWidth - boxWidth, 0, barWidth, barHeight};
    HBRUSH fill = CreateSolidBrush(static_cast<COLORREF>(settings.ColorBACK));
    HBRUSH edge = CreateSolidBrush(static_cast<COLORREF>(settings.ColorA3));
    if (fill) FillRect(dc, &box, fill);
    RECT edgeLine = {box.left, 0, box.left + 1, barHeight};
    if (edge) FillRect(dc, &edgeLine, edge);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(settings.ColorA3));
    TextOutW(dc, box.left + 5, (barHeight - size.cy) / 2, note.c_str(), static_cast<int>(note.size()));
    SelectObject(dc, keptFont);
    if (fill) DeleteObject(fill);
    if (edge) DeleteObject(edge);
}

void RenderSurface::present(HWND target, int x, int y, const Settings& settings) {
    GdiFlush();
    applyEffects(barArea(kViewBuffer), settings.Effects, settings.ColorBACK);
    // Over the finished frame: the next frame is composed afresh from the layers, without it.
    if (!note.empty()) drawNote(settings);
    // A missing target would make GetDC hand out the whole screen.
    if (!target) return;
    HDC dc = GetDC(target);
    if (!dc) return;
    int32_t columns = barWidth < bufferWidth ? barWidth : bufferWidth;
    BitBlt(dc, x, y, columns, barHeight, buffers[kViewBuffer].dc, 0, 0, SRCCOPY);
    ReleaseDC(target, dc);
}

void RenderSurface::fadeFrame(HWND target, int x, int y, int32_t positionMs, const LyricsLine* line,
                              const LyricsDocument* document, const Settings& settings, int32_t shown) {
    if (line) composeLine(0, positionMs, line, *document, settings);
    if (hasSkin()) {
        overlaySkin(0, 100 - shown);
    } else {
        GdiFlush();
        fadeTowardsBackground(barArea(kViewBuffer), settings.ColorBACK, shown);
    }
    present(target, x, y, settings);
}

int RenderSurface::renderFrame(HWND target, int x, int y, int32_t lineIndex, int32_t positionMs,
                               const Settings& settings, LyricsDocument* document, const PlayerState*) {
    if (!hasBuffers()) return 1;  // no size the buffers could be made for: nothing to draw
    const LyricsLine* fading = document ? document->line(fadeLine) : nullptr;
    int32_t percent = 0;
    switch (displayState) {
        case Clearing:
            renderLineText(0, lineIndex, document, settings);
            displayState = Blank;
            return 1;
        case Blank:
            if (hasSkin()) {
                copyColumns(skinImage, 0, kViewBuffer, 0, barWidth);
            } else {
                fillBackground(kViewBuffer, 0, 0, barWidth, barHeight);
            }
            present(target, x, y, settings);
            return 1;
        case Showing: {
            const LyricsLine* line = document ? document->line(lineIndex) : nullptr;
            if (!line) return 0;
            if (shownLine != lineIndex) {
                shownLine = lineIndex;
                clearSet(1);
                renderLineText(0, lineIndex, document, settings);
            }
            composeLine(0, positionMs, line, *document, settings);
            if (hasSkin()) overlaySkin(0, 0);
            present(target, x, y, settings);
            return 1;
        }
        case FadingIn:
            if (!fadeInPercent(*this, positionMs, settings, percent)) {
                displayState = Showing;
                return 1;
            }
            fadeFrame(target, x, y, positionMs, fading, document, settings, percent);
            if (percent >= 100) displayState = Showing;
            return 1;
        case FadingOut:
            if (!fadeOutPercent(*this, positionMs, settings, percent)) {
                displayState = Showing;
                return 1;
            }
            fadeFrame(target, x, y, positionMs, fading, document, settings, percent);
            if (percent <= 0) displayState = Clearing;
            return 1;
        case CrossFadeStart:
            // The old line into set 1, most often out of set 0, then the new one into set 0.
            drawLine(1, shownLine, document, settings, true);
            drawLine(0, fadeLine, document, settings, false);
            displayState = CrossFading;
            [[fallthrough]];
        case CrossFading: {
            if (!fadeInPercent(*this, positionMs, settings, percent)) {
                displayState = Showing;
                return 1;
            }
            const LyricsLine* old = document ? document->line(shownLine) : nullptr;
            if (old) composeLine(1, positionMs, old, *document, settings);
            if (fading) composeLine(0, positionMs, fading, *document, settings);
            if (hasSkin()) {
                overlaySkin(0, 0);
                overlaySkin(1, 0);
            }
            GdiFlush();
            mixBuffers(barArea(kViewBuffer + 1), barArea(kViewBuffer), percent);
            present(target, x, y, settings);
            if (percent >= 100) displayState = Showing;
            return 1;
        }
        default: return 1;
    }
}

void RenderSurface::beginFadeIn(int32_t positionMs, int32_t enable, int32_t lineIndex, LyricsDocument* document,
                                const Settings& settings) {
    renderLineText(0, lineIndex, document, settings);
    startFade(*this, positionMs, enable, lineIndex, FadingIn, Showing);
}

void RenderSurface::beginCrossFade(int32_t positionMs, int32_t enable, int32_t lineIndex) {
    startFade(*this, positionMs, enable, lineIndex, CrossFadeStart, Showing);
}

void RenderSurface::beginFadeOut(int32_t positionMs, int32_t enable, int32_t lineIndex, LyricsDocument* document,
                                 const Settings& settings) {
    renderLineText(0, lineIndex, document, settings);
    startFade(*this, positionMs, enable, lineIndex, FadingOut, Clearing);
}

void displayStep(RenderSurface& surface, LyricsDocument& document, int32_t positionMs, const Settings& settings) {
    switch (decideDisplayStep(surface, document, positionMs, settings)) {
        case FadeStart::FadeIn: surface.beginFadeIn(positionMs, 1, surface.dueLine, &document, settings); break;
        case FadeStart::CrossFade: surface.beginCrossFade(positionMs, 1, surface.dueLine); break;
        case FadeStart::FadeOut:
            surface.beginFadeOut(positionMs, settings.Fade_in, surface.dueLine, &document, settings);
            break;
        case FadeStart::None: break;
    }
}
