#pragma once
// The faces chosen for the last few texts. For a FontName the system lacks, choosing a face weighs
// every installed face (FontChoice.h), and the frames ask again and again for the faces of the
// same few texts: the lines shown, the line drawn ahead, the timing note.
#include <cstddef>
#include <string>
#include <vector>

struct ChosenFace {
    std::string text;      // UTF-8
    std::string fontName;  // the FontName it was chosen under
    std::wstring wide;     // the text's UTF-16 form
    std::wstring face;
};

class FaceCache {
public:
    // Keeps the faces of the last `kept` texts.
    explicit FaceCache(size_t kept) : kept(kept) {}

    // The text's UTF-16 form and the face that draws it under fontName (UTF-8; null names no
    // face), as kept, or chosen now in place of the oldest. Valid until the next call.
    const ChosenFace& faceFor(const std::string& text, const char* fontName);

private:
    size_t kept;
    std::vector<ChosenFace> chosen;  // the oldest first
};
