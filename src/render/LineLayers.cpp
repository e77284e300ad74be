#include "render/LineLayers.h"

#include <utility>

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "render/LineStyle.h"
#include "utils/Text.h"

namespace {

// Content no layers hold: layers just made hold whatever the system gave them.
LayerContent unknownContent() {
    LayerContent unknown;
    unknown.background = -1;
    return unknown;
}

LayerContent blankContent(int32_t background) {
    LayerContent blank;
    blank.background = background;
    return blank;
}

}  // namespace

std::unique_ptr<TextLayers> LineLayers::makeLayers(HDC windowDc, int32_t height, int32_t outline) const {
    auto made = std::make_unique<TextLayers>();
    for (SurfaceBuffer& layer : made->layers) {
        // One column until a line is drawn into them: TextLayers::draw makes them as wide as it.
        layer = makePixelBuffer(windowDc, 1, height);
        if (!layer.dc) return nullptr;
    }
    made->height = height;
    made->outline = outline;
    made->content = unknownContent();
    made->generation = generation;
    made->maker = this;
    return made;
}

bool LineLayers::create(HDC windowDc, int32_t height, int32_t outline) {
    release();
    bool complete = true;
    for (std::unique_ptr<TextLayers>& layers : sets)
        complete = complete && (layers = makeLayers(windowDc, height, outline)) != nullptr;
    // Spares are made like the sets' own layers, so that they can change places with them.
    for (int i = 0; i < kSpareLayers && complete; ++i) {
        spares.push_back(makeLayers(windowDc, height, outline));
        complete = spares.back() != nullptr;
    }
    // Out of memory or GDI objects: no partial sets.
    if (!complete) release();
    return complete;
}

void LineLayers::release() {
    // Layers out with the preparer belong to these no more: they are dropped on return.
    ++generation;
    for (std::unique_ptr<TextLayers>& layers : sets) layers.reset();
    spares.clear();
    beingPrepared.clear();
}

LayerContent LineLayers::contentFor(const RowText& shown, const Settings& settings, int32_t background) {
    LayerContent content = blankContent(background);
    content.drawn = 1;
    // The face follows FontName as it stands now.
    const ChosenFace& chosen = faces.faceFor(*shown.text, textOrNull(settings.FontName));
    content.text = chosen.wide;
    content.face = chosen.face;
    content.percent = shown.percent;
    // A still text is never wiped: every layer takes the unsung colours.
    int32_t mode = shown.still ? 0 : karaokeMode(settings, *shown.line);
    content.after = afterWipeColours(settings, mode);
    content.wipeLine = wipeLineColours(settings);
    content.before = beforeWipeColours(settings);
    return content;
}

void LineLayers::hold(int set, const LayerContent& content, bool takeOther) {
    if (!exist() || sets[set]->content == content) return;
    int other = 1 - set;
    if (takeOther && sets[other]->content == content) {
        std::swap(sets[set], sets[other]);
        return;
    }
    for (std::unique_ptr<TextLayers>& spare : spares)
        if (spare->content == content) {
            std::swap(sets[set], spare);
            return;
        }
    if (!content.drawn) {
        for (std::unique_ptr<TextLayers>& spare : spares)
            if (!spare->content.drawn) {
                std::swap(sets[set], spare);
                break;
            }
        sets[set]->content = content;
        return;
    }
    sets[set]->content = content;
    sets[set]->draw();
}

SIZE LineLayers::holdLine(int set, const RowText& shown, const Settings& settings, int32_t background, bool takeOther) {
    LayerContent content = contentFor(shown, settings, background);
    hold(set, content, takeOther);
    setTexts[set] = {*shown.text, content.text, content.face};
    return exist() ? sets[set]->extent : SIZE{0, 0};
}

void LineLayers::holdBlank(int set, int32_t background) { hold(set, blankContent(background), false); }

const SetText& LineLayers::textOf(int set, const LyricsLine& line, const Settings& settings) {
    SetText& held = setTexts[set];
    if (held.text != line.text || held.face.empty()) {
        const ChosenFace& chosen = faces.faceFor(line.text, textOrNull(settings.FontName));
        held = {line.text, chosen.wide, chosen.face};
    }
    return held;
}

bool LineLayers::isPrepared(const LayerContent& content) const {
    // Not the sets': at a cross-fade the line set 0 shows moves to set 1, and set 0 wants the
    // next line, even when its text and colours are the same.
    for (const std::unique_ptr<TextLayers>& spare : spares)
        if (spare->content == content) return true;
    for (const LayerContent& preparing : beingPrepared)
        if (preparing == content) return true;
    return false;
}

void LineLayers::prepareLines(LayerPreparer* preparer, const LyricsDocument& document, const Settings& settings,
                              int32_t background, std::initializer_list<int32_t> lines, RowRole role) {
    if (!preparer || !exist()) return;
    std::vector<LayerContent> wanted;
    for (int32_t n : lines) {
        RowText shown = rowTextFor(document, n, role, settings);
        if (shown.line) wanted.push_back(contentFor(shown, settings, background));
    }
    auto isWanted = [&wanted](const LayerContent& content) {
        for (const LayerContent& want : wanted)
            if (want == content) return true;
        return false;
    };
    for (const LayerContent& want : wanted) {
        if (isPrepared(want)) continue;
        auto free = spares.begin();
        while (free != spares.end() && isWanted((*free)->content)) ++free;
        if (free == spares.end()) return;
        std::unique_ptr<TextLayers> layers = std::move(*free);
        spares.erase(free);
        layers->content = want;
        beingPrepared.push_back(want);
        preparer->prepare(std::move(layers));
    }
}

void LineLayers::takePrepared(std::unique_ptr<TextLayers> layers) {
    if (!layers || !madeHere(*layers)) return;
    for (auto preparing = beingPrepared.begin(); preparing != beingPrepared.end(); ++preparing)
        if (*preparing == layers->content) {
            beingPrepared.erase(preparing);
            break;
        }
    spares.push_back(std::move(layers));
}

bool LineLayers::holdsLines(const LyricsDocument& document, const Settings& settings, int32_t background,
                            std::initializer_list<int32_t> lines, RowRole role) {
    if (!exist()) return true;
    for (int32_t n : lines) {
        RowText shown = rowTextFor(document, n, role, settings);
        if (!shown.line) continue;
        LayerContent content = contentFor(shown, settings, background);
        bool held = sets[0]->content == content || sets[1]->content == content;
        for (const std::unique_ptr<TextLayers>& spare : spares) held = held || spare->content == content;
        if (!held) return false;
    }
    return true;
}
