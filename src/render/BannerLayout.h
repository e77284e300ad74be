#pragma once
// What the title banner shows and how it scrolls: the song's title and artist followed by the
// plug-in's caption, five copies side by side, moving one pixel every four banner ticks.
#include <cstdint>
#include <string>

extern const char kBannerCaption[];  // "     ---  SORVANE  v0.15b  ---  "
constexpr size_t kBannerTextSize = 1000;
constexpr int kBannerCopies = 5;

// The title, " / " and the artist (UTF-8) when both are present (an artist alone is not shown),
// then the caption. Title and artist are cut, only ever between two characters, so that the whole
// text fits the 1000-byte banner buffer with its terminator.
std::string bannerText(const char* title, const char* artist);

// Left edge of copy i of a text cx pixels wide.
inline int32_t bannerCopyX(int i, int32_t cx) { return 16 + i * (cx + 32); }

// The scroll counter after one banner tick: it wraps after 4 x width + 129, when the picture has
// moved exactly one copy's spacing, so the wrap cannot be seen.
inline int32_t nextBannerScroll(int32_t scroll, int32_t bannerWidth) {
    return scroll > 4 * bannerWidth + 128 ? 0 : scroll + 1;
}
