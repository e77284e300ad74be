// Drawing a lyrics line into the three text layers of a buffer set, once per line: every frame
// after that only cuts and joins the layers.
#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/FontChoice.h"
#include "render/LineStyle.h"
#include "render/OutlinedText.h"
#include "render/RenderSurface.h"
#include "utils/WinText.h"

const SetText& RenderSurface::textOf(int set, const LyricsLine& line, const Settings& settings) {
    SetText& held = setTexts[set];
    if (held.text != line.text || held.face.empty()) {
        held.text = line.text;
        held.wide = widen(line.text);
        std::u16string_view units(reinterpret_cast<const char16_t*>(held.wide.data()), held.wide.size());
        held.face = faceForText(settings.FontName, units);
    }
    return held;
}

int RenderSurface::renderLineText(int set, int32_t lineIndex, LyricsDocument* document, const Settings& settings) {
    if (!document) return 0;
    LyricsLine* line = document->line(lineIndex);
    if (!line || !hasBuffers()) return 1;

    // The face follows FontName as it stands now: the line is drawn afresh.
    setTexts[set].face.clear();
    const SetText& text = textOf(set, *line, settings);
    HFONT font = createTextFont(barHeight, text.face);
    const int layers[] = {set + kAfterWipeLayer, set + kWipeLineLayer, set + kBeforeWipeLayer};
    HGDIOBJ keptFonts[3] = {};
    for (int i = 0; i < 3; ++i) {
        HDC dc = buffers[layers[i]].dc;
        keptFonts[i] = SelectObject(dc, font);
        SetBkColor(dc, 0);
        SetBkMode(dc, TRANSPARENT);
    }

    const wchar_t* units = text.wide.c_str();
    int32_t length = static_cast<int32_t>(text.wide.size());
    int32_t mode = karaokeMode(settings, *line);
    drawOutlinedText(buffers[set + kAfterWipeLayer].dc, 2, 0, afterWipeColours(settings, mode), units, length);
    drawOutlinedText(buffers[set + kWipeLineLayer].dc, 2, 0, wipeLineColours(settings), units, length);
    drawOutlinedText(buffers[set + kBeforeWipeLayer].dc, 2, 0, beforeWipeColours(settings), units, length);

    SIZE extent = {0, 0};
    GetTextExtentPoint32W(buffers[set + kBeforeWipeLayer].dc, units, length, &extent);
    line->width = extent.cx;
    line->height = extent.cy;

    for (int i = 0; i < 3; ++i) SelectObject(buffers[layers[i]].dc, keptFonts[i]);
    if (font) DeleteObject(font);
    return 1;
}
