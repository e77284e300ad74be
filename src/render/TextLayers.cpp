#include "render/TextLayers.h"

#include "render/LineGeometry.h"
#include "render/OutlinedText.h"
#include "render/PixelPasses.h"
#include "utils/GdiGuards.h"

namespace {

bool sameTrio(const ColourTrio& a, const ColourTrio& b) {
    return a.outer == b.outer && a.middle == b.middle && a.inner == b.inner;
}

// The line's size in the face its layers are drawn in.
SIZE measureLine(HFONT font, const std::wstring& text) {
    SIZE extent = {0, 0};
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return extent;
    SelectedObject selected(dc, font);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

// Whether layers `columns` wide serve a line that needs `needed`: all of it, without keeping more
// than twice its memory.
bool layersFit(int32_t columns, int32_t needed) { return columns >= needed && columns / 2 <= needed; }

// The layers cleared to the content's background, then the line drawn into them: the after-wipe,
// wipe-line and before-wipe layers in that order, each with the outline of its colour trio.
void drawContent(SurfaceBuffer& before, SurfaceBuffer& wipeLine, SurfaceBuffer& after, const LayerContent& content,
                 HFONT font, int32_t top, int32_t outline) {
    uint32_t background = colourToPixel(content.background);
    for (SurfaceBuffer* layer : {&before, &wipeLine, &after})
        fillRectangle(*layer, 0, 0, layer->width, layer->height, background);
    if (!content.drawn) return;

    SelectedObject fonts[] = {{after.dc, font}, {wipeLine.dc, font}, {before.dc, font}};
    for (SurfaceBuffer* layer : {&after, &wipeLine, &before}) {
        SetBkColor(layer->dc, 0);
        SetBkMode(layer->dc, TRANSPARENT);
    }
    const wchar_t* units = content.text.c_str();
    int32_t length = static_cast<int32_t>(content.text.size());
    drawOutlinedText(after.dc, kLineTextX, top, content.after, units, length, outline);
    drawOutlinedText(wipeLine.dc, kLineTextX, top, content.wipeLine, units, length, outline);
    drawOutlinedText(before.dc, kLineTextX, top, content.before, units, length, outline);
}

}  // namespace

bool LayerContent::operator==(const LayerContent& other) const {
    if (drawn != other.drawn || background != other.background) return false;
    if (!drawn) return true;
    return text == other.text && face == other.face && percent == other.percent && sameTrio(after, other.after) &&
           sameTrio(wipeLine, other.wipeLine) && sameTrio(before, other.before);
}

void TextLayers::draw() {
    extent = {0, 0};
    // Layers are as high as the bar; a smaller text is drawn in the middle of their height.
    int32_t textHeight = content.percent >= 100 || content.percent <= 0 ? height : height * content.percent / 100;
    OwnedFont font(content.drawn ? createTextFont(textHeight, content.face, outline) : nullptr);
    if (content.drawn) extent = measureLine(font, content.text);
    int32_t needed = content.drawn ? layerColumnsFor(extent.cx, height, outline) : columns();
    if (!layersFit(columns(), needed)) {
        for (SurfaceBuffer& layer : layers) layer = makePixelBuffer(nullptr, needed, height);
        for (SurfaceBuffer& layer : layers)
            if (!layer.pixels) {
                // Out of memory: no layers rather than some, and the bar shows the background.
                for (SurfaceBuffer& made : layers) made.release();
                break;
            }
    }
    drawContent(layers[kBeforeWipeLayer], layers[kWipeLineLayer], layers[kAfterWipeLayer], content, font,
                (height - textHeight) / 2, outline);
    // GDI may batch a thread's calls: everything is in the layers' memory before they change hands.
    GdiFlush();
}
