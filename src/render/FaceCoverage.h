#pragma once
// Choosing the face that draws a line when the configured face is not installed: the one whose
// characters cover the most of the line. Platform-free; the Win32 side (render/FontChoice.h)
// reads each face's character ranges from the system and asks each face for the characters beyond
// the Basic Multilingual Plane, which those ranges do not reach.
#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// Characters first to last (UTF-16 units of the Basic Multilingual Plane), both included.
struct CharacterRange {
    char16_t first;
    char16_t last;
};
// A face's ranges, sorted and not overlapping.
using FaceCharacters = std::vector<CharacterRange>;
// Whether the face at an index has a character beyond the Basic Multilingual Plane.
using HasCharacterBeyondBmp = std::function<bool(size_t face, char32_t character)>;

// The characters beyond the Basic Multilingual Plane in the text (its surrogate pairs), each once,
// in the order they first come.
std::vector<char32_t> charactersBeyondBmp(std::u16string_view text);

// How many characters of the text the face has: those of the Basic Multilingual Plane by its
// ranges, a surrogate pair by hasBeyondBmp. A lone surrogate is no character any face has.
size_t coveredCharacters(const FaceCharacters& face, std::u16string_view text,
                         const std::function<bool(char32_t)>& hasBeyondBmp);

// The index of the face that has the most characters of the text; on a tie the earlier face
// (so the first face wins for a text every face has, or none). 0 for an empty list.
size_t bestCoveringFace(const std::vector<FaceCharacters>& faces, std::u16string_view text,
                        const HasCharacterBeyondBmp& hasBeyondBmp);
