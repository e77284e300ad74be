#pragma once
// What the lyrics fuzz targets share: a failed promise ends the run, warnings go nowhere.
#include <cstdint>
#include <cstdlib>

#include "lyrics/LyricsParser.h"

inline void require(bool condition) {
    if (!condition) std::abort();
}

class IgnoredWarnings : public LyricsWarnings {
public:
    void malformedTag(int32_t, int32_t) override {}
};
