#include "render/LineStyle.h"

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"

int32_t karaokeMode(const Settings& settings, const LyricsLine& line) {
    if (settings.Disp_Kra != 0) {
        if (settings.Not_Disp_NoKra != 0) return line.isKaraoke ? 1 : 0;
        return 1;
    }
    return settings.Red_Line != 0 ? 2 : 0;
}

ColourTrio afterWipeColours(const Settings& settings, int32_t mode) {
    if (mode == 1) return {settings.ColorA1, settings.ColorA2, settings.ColorA3};
    return beforeWipeColours(settings);
}

ColourTrio beforeWipeColours(const Settings& settings) {
    return {settings.ColorB1, settings.ColorB2, settings.ColorB3};
}

ColourTrio wipeLineColours(const Settings& settings) { return {settings.ColorL1, settings.ColorL2, settings.ColorL3}; }

bool showsWipeLine(int32_t mode, const Settings& settings, int32_t wipeFront, int32_t lineWidth) {
    return mode != 0 && settings.Red_Line != 0 && wipeFront != 0 && wipeFront < lineWidth;
}
