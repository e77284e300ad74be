#include "render/BannerLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(BannerLayout, TextIsTitleSlashArtistThenTheCaption) {
    EXPECT_EQ(bannerText("Song", "Singer"), "Song / Singer     ---  SORVANE  v0.15b  ---  ");
    EXPECT_EQ(bannerText("Song", nullptr), "Song     ---  SORVANE  v0.15b  ---  ");
    EXPECT_EQ(bannerText(nullptr, "Singer"), kBannerCaption);  // no title: caption alone
    EXPECT_EQ(std::string(kBannerCaption).size(), 32u);
}

TEST(BannerLayout, LongTitleAndArtistAreCutToFitTheBufferWithoutSplittingACharacter) {
    std::string title(2000, 'T');
    std::string text = bannerText(title.c_str(), "artist");
    EXPECT_EQ(text.size(), kBannerTextSize - 1);
    EXPECT_EQ(text.substr(text.size() - 32), kBannerCaption);

    // "あ" (three bytes) and a character beyond the BMP (four bytes): no room splits either.
    for (const char* character : {"\xE3\x81\x82", "\xF0\x9F\x8E\xA4"}) {
        std::string wide;
        for (int i = 0; i < 600; ++i) wide += character;
        for (const char* title : {"x", "xy"}) {
            text = bannerText(title, wide.c_str());
            std::string kept = text.substr(0, text.size() - 32);
            EXPECT_LE(text.size(), kBannerTextSize - 1);
            EXPECT_EQ((kept.size() - std::strlen(title) - 3) % std::strlen(character), 0u);  // whole characters
        }
    }
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
