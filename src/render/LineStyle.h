#pragma once
// How a lyrics line is coloured: whether its wipe shows as a colour change, which colour trio
// paints each text layer, and whether the wipe line is drawn.
#include <cstdint>

class Settings;
class LyricsLine;

// Outer ring, middle ring and the glyphs themselves, as colour references (0x00BBGGRR).
struct ColourTrio {
    int32_t outer;
    int32_t middle;
    int32_t inner;
};

// 1: the after-wipe layer takes the after-wipe colours, so the wipe shows as a colour change.
// 0 and 2: it takes the before-wipe colours; 2 still gets the wipe line (Red_Line with Disp_Kra
// off). Lines that are not karaoke lines get 0 when Not_Disp_NoKra asks for it.
int32_t karaokeMode(const Settings& settings, const LyricsLine& line);

ColourTrio afterWipeColours(const Settings& settings, int32_t mode);
ColourTrio beforeWipeColours(const Settings& settings);
ColourTrio wipeLineColours(const Settings& settings);

// The wipe line is drawn while the wipe front b is inside the line (0 < b < width).
bool showsWipeLine(int32_t mode, const Settings& settings, int32_t wipeFront, int32_t lineWidth);
