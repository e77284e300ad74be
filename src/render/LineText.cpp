// Drawing a lyrics line into the three text layers of a buffer set, once per line: every frame
// after that only cuts and joins the layers. Layers that already hold the line as asked are used
// as they are: those of the other set, or spares drawn ahead of need (TextLayers.h).
#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/FontChoice.h"
#include "render/LineStyle.h"
#include "render/OutlinedText.h"
#include "render/RenderSurface.h"
#include "utils/WinText.h"

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
                 int32_t barHeight, SIZE& extent) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(content.background));
    for (SurfaceBuffer* layer : {&before, &wipeLine, &after}) fillLayer(*layer, brush);
    if (brush) DeleteObject(brush);
    extent = {0, 0};
    if (!content.drawn) return;

    HFONT font = createTextFont(barHeight, content.face);
    SurfaceBuffer* layers[] = {&after, &wipeLine, &before};
    HGDIOBJ keptFonts[3] = {};
    for (int i = 0; i < 3; ++i) {
        keptFonts[i] = SelectObject(layers[i]->dc, font);
        SetBkColor(layers[i]->dc, 0);
        SetBkMode(layers[i]->dc, TRANSPARENT);
    }
    const wchar_t* units = content.text.c_str();
    int32_t length = static_cast<int32_t>(content.text.size());
    drawOutlinedText(after.dc, 2, 0, content.after, units, length);
    drawOutlinedText(wipeLine.dc, 2, 0, content.wipeLine, units, length);
    drawOutlinedText(before.dc, 2, 0, content.before, units, length);
    GetTextExtentPoint32W(before.dc, units, length, &extent);
    for (int i = 0; i < 3; ++i) SelectObject(layers[i]->dc, keptFonts[i]);
    if (font) DeleteObject(font);
}

}  // namespace

bool LayerContent::operator==(const LayerContent& other) const {
    if (drawn != other.drawn || background != other.background) return false;
    if (!drawn) return true;
    return text == other.text && face == other.face && sameTrio(after, other.after) &&
           sameTrio(wipeLine, other.wipeLine) && sameTrio(before, other.before);
}

TextLayers::~TextLayers() {
    for (SurfaceBuffer& layer : layers) releaseBuffer(layer);
}

void TextLayers::draw() {
    // Layers are as high as the bar.
    drawContent(layers[0], layers[1], layers[2], content, layers[0].height, extent);
    // GDI may batch a thread's calls: everything is in the layers before they change hands.
    GdiFlush();
}

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

LayerContent RenderSurface::blankContent() const {
    LayerContent blank;
    blank.background = hasSkin() ? 0 : backgroundColour;
    return blank;
}

LayerContent RenderSurface::contentFor(const LyricsLine& line, const Settings& settings) {
    LayerContent content = blankContent();
    content.drawn = 1;
    // The face follows FontName as it stands now. The last few lines' faces are kept: choosing
    // one for a name the system lacks weighs every installed face.
    std::string fontName = settings.FontName ? settings.FontName : "";
    for (const ChosenFace& chosen : chosenFaces)
        if (chosen.text == line.text && chosen.fontName == fontName) {
            content.text = chosen.wide;
            content.face = chosen.face;
        }
    if (content.face.empty()) {
        ChosenFace chosen{line.text, fontName, widen(line.text), {}};
        std::u16string_view units(reinterpret_cast<const char16_t*>(chosen.wide.data()), chosen.wide.size());
        chosen.face = faceForText(settings.FontName, units);
        if (chosenFaces.size() >= 4) chosenFaces.erase(chosenFaces.begin());
        chosenFaces.push_back(chosen);
        content.text = chosen.wide;
        content.face = chosen.face;
    }
    int32_t mode = karaokeMode(settings, line);
    content.after = afterWipeColours(settings, mode);
    content.wipeLine = wipeLineColours(settings);
    content.before = beforeWipeColours(settings);
    return content;
}

void RenderSurface::swapLayers(int set, TextLayers& spare) {
    for (int r = 0; r < 3; ++r) std::swap(buffers[set + 2 * r], spare.layers[r]);
    std::swap(setContent[set], spare.content);
    std::swap(setExtent[set], spare.extent);
}

void RenderSurface::holdInSet(int set, const LayerContent& content, bool takeOther) {
    if (!hasBuffers() || setContent[set] == content) return;
    int other = 1 - set;
    if (takeOther && setContent[other] == content) {
        for (int r = 0; r < 3; ++r) std::swap(buffers[set + 2 * r], buffers[other + 2 * r]);
        std::swap(setContent[set], setContent[other]);
        std::swap(setExtent[set], setExtent[other]);
        return;
    }
    for (std::unique_ptr<TextLayers>& spare : spares)
        if (spare->content == content) {
            swapLayers(set, *spare);
            return;
        }
    // Cleared layers are never read (composeLine fills the view instead): filling them would
    // only cost the tick time. The line they held is kept in a spare when one is free.
    if (!content.drawn) {
        for (std::unique_ptr<TextLayers>& spare : spares)
            if (!spare->content.drawn) {
                swapLayers(set, *spare);
                break;
            }
        setContent[set] = content;
        return;
    }
    drawContent(buffers[set + kBeforeWipeLayer], buffers[set + kWipeLineLayer], buffers[set + kAfterWipeLayer], content,
                barHeight, setExtent[set]);
    setContent[set] = content;
}

int RenderSurface::renderLineText(int set, int32_t lineIndex, LyricsDocument* document, const Settings& settings) {
    return drawLine(set, lineIndex, document, settings, true);
}

int RenderSurface::drawLine(int set, int32_t lineIndex, LyricsDocument* document, const Settings& settings,
                            bool takeOther) {
    clearView(set);
    LyricsLine* line = document ? document->line(lineIndex) : nullptr;
    if (!line || !hasBuffers()) {
        holdInSet(set, blankContent(), false);
        return document ? 1 : 0;
    }
    LayerContent content = contentFor(*line, settings);
    holdInSet(set, content, takeOther);
    line->width = setExtent[set].cx;
    line->height = setExtent[set].cy;
    setTexts[set] = {line->text, content.text, content.face};
    return 1;
}
