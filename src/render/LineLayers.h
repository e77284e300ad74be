#pragma once
// The text layers of a row's two buffer sets, the spare layers beside them and the faces their
// lines are drawn in. A set's layers are drawn once per line; every frame after that only cuts and
// joins them. Layers that already hold a line as asked are taken instead of drawing: those of the
// other set, or spares drawn ahead of need by a LayerPreparer (TextLayers.h).
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "render/FaceCache.h"
#include "render/TextLayers.h"
#include "render/TwoRows.h"

class LyricsDocument;
class LyricsLine;
class Settings;

// Spare text layers, beside the two sets: enough for the next line, the line a set gives up in a
// cross-fade and a cleared set.
constexpr int kSpareLayers = 3;

// What the text layers of a buffer set were drawn from: the line's UTF-8 text, its UTF-16 form and
// the face that drew it. Kept so that a frame measures the same text in the same face without
// converting the line again: the tick runs sixty times a second.
struct SetText {
    std::string text;
    std::wstring wide;
    std::wstring face;
};

class LineLayers {
public:
    // Makes the layers of both sets and the spares, `height` rows high, for lines outlined
    // `outline` pixels wide (each line's drawing makes them as wide as it needs). Returns whether
    // all of them were made; when not, none are kept.
    bool create(HDC windowDc, int32_t height, int32_t outline);
    // Drops every layer. Those out with the preparer are dropped when they come back.
    void release();
    bool exist() const { return sets[0] != nullptr; }

    // Set s's layers (while they exist).
    const TextLayers& set(int s) const { return *sets[s]; }

    // Makes set s hold the row's text over the background as the settings ask: left as it is,
    // swapped in from a spare (or from the other set, when takeOther: that set's line is no longer
    // needed), or drawn. Returns the text's measured size.
    SIZE holdLine(int set, const RowText& shown, const Settings& settings, int32_t background, bool takeOther);
    // Makes set s hold nothing but the background. Such layers are never read, so they are not
    // filled; the line they held is kept in a spare when one is free.
    void holdBlank(int set, int32_t background);
    // The text to measure the line in set s by: the one the set's layers were drawn from, or the
    // line's own with its face when they were drawn from another.
    const SetText& textOf(int set, const LyricsLine& line, const Settings& settings);

    // Drawing ahead. The preparer (none: everything is drawn when needed) gets spare layers to
    // draw these lines of the document into, as a row of that role shows them with the settings
    // as they are now; what spares hold already, or are being drawn with, is not asked for again.
    void prepareLines(LayerPreparer* preparer, const LyricsDocument& document, const Settings& settings,
                      int32_t background, std::initializer_list<int32_t> lines, RowRole role);
    // Spare layers back from the preparer; layers made before the last release are dropped.
    void takePrepared(std::unique_ptr<TextLayers> layers);
    // Whether each of these lines (those the document has) is held, so drawn, by a set or a spare.
    bool holdsLines(const LyricsDocument& document, const Settings& settings, int32_t background,
                    std::initializer_list<int32_t> lines, RowRole role);
    // Whether these layers were made here (and not yet released): a bar of two rows has a
    // LineLayers for each, and the preparer hands them all back together.
    bool madeHere(const TextLayers& layers) const { return layers.maker == this && layers.generation == generation; }

private:
    LayerContent contentFor(const RowText& shown, const Settings& settings, int32_t background);
    void hold(int set, const LayerContent& content, bool takeOther);
    bool isPrepared(const LayerContent& content) const;
    std::unique_ptr<TextLayers> makeLayers(HDC windowDc, int32_t height, int32_t outline) const;

    std::unique_ptr<TextLayers> sets[2];
    SetText setTexts[2];
    std::vector<std::unique_ptr<TextLayers>> spares;  // ready, in no set
    std::vector<LayerContent> beingPrepared;          // the contents of the spares out with the preparer
    FaceCache faces{4};                               // the last few lines': those of the sets, and those drawn ahead
    uint32_t generation = 0;                          // counts releases
};
