#include "render/TextLayers.h"

#include "render/LineGeometry.h"
#include "render/OutlinedText.h"
#include "utils/GdiGuards.h"

namespace {

bool sameTrio(const ColourTrio& a, const ColourTrio& b) {
    return a.outer == b.outer && a.middle == b.middle && a.inner == b.inner;
}

void fillLayer(SurfaceBuffer& layer, HBRUSH brush) {
    RECT r = {0, 0, layer.width, layer.height};
    if (layer.dc && brush) FillRect(layer.dc, &r, brush);
}

// The layers cleared to the content's background, then the line drawn into them: the after-wipe,
// wipe-line and before-wipe layers in that order, each with the outline of its colour trio, and
// the whole text measured in the before-wipe layer.
void drawContent(SurfaceBuffer& before, SurfaceBuffer& wipeLine, SurfaceBuffer& after, const LayerContent& content,
                 SIZE& extent) {
    {
        OwnedBrush brush(CreateSolidBrush(static_cast<COLORREF>(content.background)));
        for (SurfaceBuffer* layer : {&before, &wipeLine, &after}) fillLayer(*layer, brush);
    }
    extent = {0, 0};
    if (!content.drawn) return;

    // Layers are as high as the bar.
    OwnedFont font(createTextFont(before.height, content.face));
    SelectedObject fonts[] = {{after.dc, font}, {wipeLine.dc, font}, {before.dc, font}};
    for (SurfaceBuffer* layer : {&after, &wipeLine, &before}) {
        SetBkColor(layer->dc, 0);
        SetBkMode(layer->dc, TRANSPARENT);
    }
    const wchar_t* units = content.text.c_str();
    int32_t length = static_cast<int32_t>(content.text.size());
    drawOutlinedText(after.dc, kLineTextX, 0, content.after, units, length);
    drawOutlinedText(wipeLine.dc, kLineTextX, 0, content.wipeLine, units, length);
    drawOutlinedText(before.dc, kLineTextX, 0, content.before, units, length);
    GetTextExtentPoint32W(before.dc, units, length, &extent);
}

}  // namespace

bool LayerContent::operator==(const LayerContent& other) const {
    if (drawn != other.drawn || background != other.background) return false;
    if (!drawn) return true;
    return text == other.text && face == other.face && sameTrio(after, other.after) &&
           sameTrio(wipeLine, other.wipeLine) && sameTrio(before, other.before);
}

void TextLayers::draw() {
    drawContent(layers[kBeforeWipeLayer], layers[kWipeLineLayer], layers[kAfterWipeLayer], content, extent);
    // GDI may batch a thread's calls: everything is in the layers before they change hands.
    GdiFlush();
}
