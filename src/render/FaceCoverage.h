#pragma once
// Choosing the face that draws a line when the configured face is not installed: the one whose
// characters cover the most of the line. Platform-free; the Win32 side (render/FontChoice.h)
// reads each face's character ranges from the system.
#include <cstddef>
#include <string_view>
#include <vector>

// Characters first to last (UTF-16 units of the Basic Multilingual Plane), both included.
struct CharacterRange {
    char16_t first;
    char16_t last;
};
// A face's ranges, sorted and not overlapping.
using FaceCharacters = std::vector<CharacterRange>;

// How many characters of the text the face has. Characters beyond the Basic Multilingual Plane
// (surrogate pairs) are not counted: the ranges the system reports do not reach them.
size_t coveredCharacters(const FaceCharacters& face, std::u16string_view text);

// The index of the face that has the most characters of the text; on a tie the earlier face
// (so the first face wins for a text every face has, or none). 0 for an empty list.
size_t bestCoveringFace(const std::vector<FaceCharacters>& faces, std::u16string_view text);
