#pragma once
// Where a lyrics line lies in its text layers, in columns. The outlined text is drawn from
// kLineTextX on, and its outline rings every glyph `outline` pixels wide (drawOutlinedText), so the
// glyphs themselves start at glyphOriginX(outline). The wipe is counted from there.
//
// The bar's outline is kOutlineWidth; the desktop window scales it by its monitor's DPI. Every
// function here takes the line's outline, the bar's by default.
#include <cstdint>

constexpr int32_t kLineTextX = 2;
constexpr int32_t kOutlineWidth = 2;

constexpr int32_t glyphOriginX(int32_t outline = kOutlineWidth) { return kLineTextX + outline; }

// The wipe line: the columns up to and including the wipe front, as wide as the outline on both
// sides of a stroke, so that it keeps its weight against the letters at any DPI.
constexpr int32_t wipeLineColumns(int32_t outline = kOutlineWidth) { return 2 * outline; }

// The columns a line `width` pixels wide takes with its outline, from the layers' left edge.
constexpr int64_t outlinedLineColumns(int32_t width, int32_t outline = kOutlineWidth) {
    return int64_t{width} + kLineTextX + 2 * int64_t{outline};
}

// The widest text layers made: a line wider than this is cut at this column, and scrolling stops
// where the cut part begins. Three layers of it at the tallest bar take 31 MB.
constexpr int32_t kMaxLayerColumns = 16384;

// The columns of the text layers a line `width` pixels wide is drawn into in a bar `height` pixels
// high: its outlined columns and room for glyphs that reach past their advance (never wider than
// the font's height), at most kMaxLayerColumns and at least one.
constexpr int32_t layerColumnsFor(int32_t width, int32_t height, int32_t outline = kOutlineWidth) {
    int64_t columns = outlinedLineColumns(width < 0 ? 0 : width, outline) + (height < 0 ? 0 : height);
    return columns > kMaxLayerColumns ? kMaxLayerColumns : static_cast<int32_t>(columns);
}

// The columns of a composed line: its glyphs with glyphOriginX columns on either side. A wipe past
// the line's last mark stands this far into the glyphs, so that its front lies past all of them.
constexpr int64_t composedLineColumns(int32_t width, int32_t outline = kOutlineWidth) {
    return int64_t{width} + 2 * int64_t{glyphOriginX(outline)};
}
