#pragma once
// The decisions the property pages make that need no window: reading a typed number, the radio
// sets the second display page keeps exclusive, the fade page's start <= end pull, the point the
// background pick-up reads and the folder of a browsed file.
#include <cstdint>
#include <string>

// A typed number as the pages take it: optional blanks, a minus sign when signedRead, decimal
// digits, optional blanks. Anything else, and any value outside the signed 32-bit range, reads as 0.
int32_t editNumber(const char* text, bool signedRead);

// Three radio buttons with consecutive ids from first. Each one forms a group of its own, so the
// platform leaves the others checked: when one is chosen the page unchecks these two.
struct OtherButtons {
    int first;
    int second;
};
OtherButtons otherButtons(int first, int chosen);
// The button showing a stored value, or 0 for a value no button stands for (nothing is checked).
int buttonForValue(int first, int32_t value);

// A fade slider moved to v: a moved start pulls its end up to v when the end is below it; a moved
// end pulls its start down to v when the start is above it. Returns the partner's new value.
enum class FadeSlider { Start, End };
int32_t pulledPartner(FadeSlider moved, int32_t v, int32_t partner);

// The centre of a bar at (x, y) of width x height: x + width / 2, y + height / 2, halves rounded
// toward zero. Returns 0 when the point lies beyond the 32-bit range (absurd stored values).
int barCentre(int32_t x, int32_t y, int32_t width, int32_t height, int32_t& centreX, int32_t& centreY);

// Cuts a file's full path (UTF-8, where no byte of a character other than the backslash itself
// equals one) to its folder: at the last backslash, which is removed, so the folder has no
// trailing backslash. A path without a backslash is left whole.
void cutToFolder(std::string& path);
