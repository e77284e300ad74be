#include "render/FaceCoverage.h"

#include <algorithm>

namespace {

bool isSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

bool hasCharacter(const FaceCharacters& face, char16_t c) {
    auto after = std::upper_bound(face.begin(), face.end(), c,
                                  [](char16_t value, const CharacterRange& r) { return value < r.first; });
    return after != face.begin() && c <= std::prev(after)->last;
}

}  // namespace

size_t coveredCharacters(const FaceCharacters& face, std::u16string_view text) {
    size_t covered = 0;
    for (char16_t c : text)
        if (!isSurrogate(c) && hasCharacter(face, c)) ++covered;
    return covered;
}

size_t bestCoveringFace(const std::vector<FaceCharacters>& faces, std::u16string_view text) {
    size_t best = 0, bestCovered = 0;
    for (size_t i = 0; i < faces.size(); ++i) {
        size_t covered = coveredCharacters(faces[i], text);
        if (covered > bestCovered) {
            best = i;
            bestCovered = covered;
        }
    }
    return best;
}
