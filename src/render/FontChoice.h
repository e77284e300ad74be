#pragma once
// Which face draws a text: the FontName setting when the system has a face of that name, else
// the installed face with the most of the text's characters (those beyond the Basic Multilingual
// Plane, such as emoji, included), so that a line in any script shows its glyphs (not empty
// boxes) wherever the system has a face for them.
#include <windows.h>

#include <string>
#include <string_view>

// fontName is UTF-8 (null or empty names no face).
std::wstring faceForText(const char* fontName, std::u16string_view text);

// Forgets the installed faces read so far: they are read again when next needed.
void forgetInstalledFaces();
