#include "render/FaceCache.h"

#include <string_view>
#include <utility>

#include "render/FontChoice.h"
#include "utils/WinText.h"

const ChosenFace& FaceCache::faceFor(const std::string& text, const char* fontName) {
    std::string name = fontName ? fontName : "";
    for (const ChosenFace& face : chosen)
        if (face.text == text && face.fontName == name) return face;
    ChosenFace fresh{text, name, widen(text), {}};
    std::u16string_view units(reinterpret_cast<const char16_t*>(fresh.wide.data()), fresh.wide.size());
    fresh.face = faceForText(fontName, units);
    if (!chosen.empty() && chosen.size() >= kept) chosen.erase(chosen.begin());
    chosen.push_back(std::move(fresh));
    return chosen.back();
}
