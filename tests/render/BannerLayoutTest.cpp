#include "render/BannerLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int shiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

TEST(BannerLayout, TextIsTitleSlashArtistThenTheCaption) {
    EXPECT_EQ(bannerText("Song", "Singer", shiftJisLead), "Song / Singer     ---  SORVANE  v0.15b  ---  ");
    EXPECT_EQ(bannerText("Song", nullptr, shiftJisLead), "Song     ---  SORVANE  v0.15b  ---  ");
    EXPECT_EQ(bannerText(nullptr, "Singer", shiftJisLead), kBannerCaption);  // no title: caption alone
    EXPECT_EQ(std::string(kBannerCaption).size(), 32u);
}

TEST(BannerLayout, LongTitleAndArtistAreCutToFitTheBufferWithoutSplittingACharacter) {
    std::string title(2000, 'T');
    std::string text = bannerText(title.c_str(), "artist", shiftJisLead);
    EXPECT_EQ(text.size(), kBannerTextSize - 1);
    EXPECT_EQ(text.substr(text.size() - 32), kBannerCaption);

    std::string wide;  // "あ" repeated: two bytes each, and an odd room must not split one
    for (int i = 0; i < 600; ++i) wide += "\x82\xA0";
    text = bannerText("x", wide.c_str(), shiftJisLead);
    std::string kept = text.substr(0, text.size() - 32);
    EXPECT_LE(text.size(), kBannerTextSize - 1);
    EXPECT_EQ((kept.size() - 4) % 2, 0u);  // "x / " then whole characters only
}

TEST(BannerLayout, ScrollWrapsAfterOneCopySpacingOfFourTicksAPixel) {
    int32_t width = 100, scroll = 0, ticks = 0;
    do {
        scroll = nextBannerScroll(scroll, width);
        ++ticks;
    } while (scroll != 0);
    EXPECT_EQ(ticks, 4 * width + 130);  // one cycle: 0 .. 4w+129, then 0
    EXPECT_EQ(bannerCopyX(1, width) - bannerCopyX(0, width), width + 32);
}
