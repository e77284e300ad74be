#include "config/PageRules.h"

#include <limits>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool fitsInt32(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

}  // namespace

int32_t editNumber(const char* text, bool signedRead) {
    if (!text) return 0;
    while (isBlank(*text)) ++text;
    bool negative = signedRead && *text == '-';
    if (negative) ++text;
    if (*text < '0' || *text > '9') return 0;
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > int64_t{1} << 32) return 0;  // far out of range; stop before the sum can overflow
    }
    while (isBlank(*text)) ++text;
    if (*text) return 0;
    if (negative) value = -value;
    return fitsInt32(value) ? static_cast<int32_t>(value) : 0;
}

OtherButtons otherButtons(int first, int chosen) {
    int index = chosen - first;
    return {first + (index + 1) % 3, first + (index + 2) % 3};
}

int buttonForValue(int first, int32_t value) { return value >= 0 && value <= 2 ? first + value : 0; }

int32_t pulledPartner(FadeSlider moved, int32_t v, int32_t partner) {
    if (moved == FadeSlider::Start) return partner < v ? v : partner;
    return partner > v ? v : partner;
}

int barCentre(int32_t x, int32_t y, int32_t width, int32_t height, int32_t& centreX, int32_t& centreY) {
    int64_t cx = int64_t{x} + width / 2;
    int64_t cy = int64_t{y} + height / 2;
    if (!fitsInt32(cx) || !fitsInt32(cy)) return 0;
    centreX = static_cast<int32_t>(cx);
    centreY = static_cast<int32_t>(cy);
    return 1;
}

void cutToFolder(std::string& path) {
    size_t lastBackslash = path.rfind('\\');
    if (lastBackslash != std::string::npos) path.erase(lastBackslash);
}
