#pragma once
// Where a lyrics line lies in its text layers, in columns. The outlined text is drawn from
// kLineTextX on, and its outline rings every glyph kOutlineWidth pixels wide (drawOutlinedText),
// so the glyphs themselves start at kGlyphOriginX. The wipe is counted from there.
#include <cstdint>

constexpr int32_t kLineTextX = 2;
constexpr int32_t kOutlineWidth = 2;
constexpr int32_t kGlyphOriginX = kLineTextX + kOutlineWidth;

// The wipe line: the columns up to and including the wipe front.
constexpr int32_t kWipeLineColumns = 4;

// The columns a line `width` pixels wide takes with its outline, from the layers' left edge.
constexpr int64_t outlinedLineColumns(int32_t width) { return int64_t{width} + kLineTextX + 2 * kOutlineWidth; }

// The columns of a composed line: its glyphs with kGlyphOriginX columns on either side. A wipe past
// the line's last mark stands this far into the glyphs, so that its front lies past all of them.
constexpr int64_t composedLineColumns(int32_t width) { return int64_t{width} + 2 * kGlyphOriginX; }
