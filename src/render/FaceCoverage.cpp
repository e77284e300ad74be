#include "render/FaceCoverage.h"

#include <algorithm>

namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool hasCharacter(const FaceCharacters& face, char16_t c) {
    auto after = std::upper_bound(face.begin(), face.end(), c,
                                  [](char16_t value, const CharacterRange& r) { return value < r.first; });
    return after != face.begin() && c <= std::prev(after)->last;
}

// Calls visit(character, isPair) for every character of the text; a lone surrogate is visited as
// itself, not as a pair.
template <typename Visit>
void forEachCharacter(std::u16string_view text, Visit visit) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            visit(0x10000 + ((char32_t{text[i]} - 0xD800) << 10) + (text[i + 1] - 0xDC00), true);
            ++i;
        } else {
            visit(char32_t{text[i]}, false);
        }
    }
}

}  // namespace

std::vector<char32_t> charactersBeyondBmp(std::u16string_view text) {
    std::vector<char32_t> found;
    forEachCharacter(text, [&](char32_t c, bool isPair) {
        if (isPair && std::find(found.begin(), found.end(), c) == found.end()) found.push_back(c);
    });
    return found;
}

size_t coveredCharacters(const FaceCharacters& face, std::u16string_view text,
                         const std::function<bool(char32_t)>& hasBeyondBmp) {
    size_t covered = 0;
    forEachCharacter(text, [&](char32_t c, bool isPair) {
        if (isPair) {
            covered += hasBeyondBmp(c);
        } else if (!isHighSurrogate(static_cast<char16_t>(c)) && !isLowSurrogate(static_cast<char16_t>(c))) {
            covered += hasCharacter(face, static_cast<char16_t>(c));
        }
    });
    return covered;
}

size_t bestCoveringFace(const std::vector<FaceCharacters>& faces, std::u16string_view text,
                        const HasCharacterBeyondBmp& hasBeyondBmp) {
    size_t best = 0, bestCovered = 0;
    for (size_t i = 0; i < faces.size(); ++i) {
        size_t covered = coveredCharacters(faces[i], text, [&](char32_t c) { return hasBeyondBmp(i, c); });
        if (covered > bestCovered) {
            best = i;
            bestCovered = covered;
        }
    }
    return best;
}
