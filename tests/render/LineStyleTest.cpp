#include "render/LineStyle.h"

#include <gtest/gtest.h>

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"

TEST(KaraokeMode, FollowsDispKraNotDispNoKraAndRedLine) {
    Settings settings;
    LyricsLine karaoke, plain;
    karaoke.isKaraoke = 1;
    EXPECT_EQ(karaokeMode(settings, karaoke), 1);
    EXPECT_EQ(karaokeMode(settings, plain), 0);  // too few tags: no colour change, no wipe line
    settings.Not_Disp_NoKra = 0;
    EXPECT_EQ(karaokeMode(settings, plain), 1);
    settings.Disp_Kra = 0;
    EXPECT_EQ(karaokeMode(settings, karaoke), 2);  // no colour change, but the wipe line
    settings.Red_Line = 0;
    EXPECT_EQ(karaokeMode(settings, karaoke), 0);
}
