// Drawing a lyrics line into the three text layers of a buffer set, once per line: every frame
// after that only cuts and joins the layers.
#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/LineStyle.h"
#include "render/OutlinedText.h"
#include "render/RenderSurface.h"

int RenderSurface::renderLineText(int set, int32_t lineIndex, LyricsDocument* document, const Settings& settings) {
    if (!document) return 0;
    LyricsLine* line = document->line(lineIndex);
    if (!line || !hasBuffers()) return 1;

    HFONT font = createTextFont(barHeight, settings.FontName);
    const int layers[] = {set + kAfterWipeLayer, set + kWipeLineLayer, set + kBeforeWipeLayer};
    HGDIOBJ keptFonts[3] = {};
    for (int i = 0; i < 3; ++i) {
        HDC dc = buffers[layers[i]].dc;
        keptFonts[i] = SelectObject(dc, font);
        SetBkColor(dc, 0);
        SetBkMode(dc, TRANSPARENT);
    }

    const char* text = line->text.c_str();
    int32_t length = static_cast<int32_t>(line->text.size());
    int32_t mode = karaokeMode(settings, *line);
    drawOutlinedText(buffers[set + kAfterWipeLayer].dc, 2, 0, afterWipeColours(settings, mode), text, length);
    drawOutlinedText(buffers[set + kWipeLineLayer].dc, 2, 0, wipeLineColours(settings), text, length);
    drawOutlinedText(buffers[set + kBeforeWipeLayer].dc, 2, 0, beforeWipeColours(settings), text, length);

    SIZE extent = {0, 0};
    GetTextExtentPoint32A(buffers[set + kBeforeWipeLayer].dc, text, length, &extent);
    line->width = extent.cx;
    line->height = extent.cy;

    for (int i = 0; i < 3; ++i) SelectObject(buffers[layers[i]].dc, keptFonts[i]);
    if (font) DeleteObject(font);
    return 1;
}
