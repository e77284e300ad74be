#include "config/PageRules.h"

#include <gtest/gtest.h>

#include <string>

TEST(EditNumber, ReadsSignedAndUnsignedDecimalText) {
    EXPECT_EQ(editNumber("245", false), 245);
    EXPECT_EQ(editNumber("  -40 ", true), -40);
    EXPECT_EQ(editNumber("2147483647", true), 2147483647);
    EXPECT_EQ(editNumber("-2147483648", true), INT32_MIN);
}

TEST(EditNumber, AnythingElseReadsAsZero) {
    // A minus sign being typed, a minus in a digits-only field, text, mixed text, out of range.
    for (const char* text :
         {"-", "", "   ", "abc", "12px", "1 2", "+5", "--3", "2147483648", "-2147483649", "99999999999999999999999"})
        EXPECT_EQ(editNumber(text, true), 0) << text;
    EXPECT_EQ(editNumber("-5", false), 0);
    EXPECT_EQ(editNumber(nullptr, true), 0);
}

TEST(RadioSets, OnlyValuesZeroToTwoHaveAButton) {
    EXPECT_EQ(buttonForValue(1040, 0), 1040);
    EXPECT_EQ(buttonForValue(1040, 2), 1042);
    // A garbage INI value must not check some other control of the page (1053 is a push button).
    EXPECT_EQ(buttonForValue(1040, 13), 0);
    EXPECT_EQ(buttonForValue(1040, -1), 0);
}

TEST(FadePull, KeepsStartAtOrBelowEnd) {
    EXPECT_EQ(pulledPartner(FadeSlider::Start, -5, -20), -5);  // start above end drags end up
    EXPECT_EQ(pulledPartner(FadeSlider::Start, -30, -20), -20);
    EXPECT_EQ(pulledPartner(FadeSlider::End, 100, 120), 100);  // end below start drags start down
    EXPECT_EQ(pulledPartner(FadeSlider::End, 170, 120), 120);
    EXPECT_EQ(pulledPartner(FadeSlider::End, 120, 120), 120);
}

TEST(BarCentre, HalvesRoundTowardZero) {
    int32_t x = 0, y = 0;
    ASSERT_EQ(barCentre(21, 45, 245, 18, x, y), 1);
    EXPECT_EQ(x, 21 + 122);
    EXPECT_EQ(y, 45 + 9);
    ASSERT_EQ(barCentre(-10, 0, -5, -3, x, y), 1);
    EXPECT_EQ(x, -12);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(barCentre(INT32_MAX, 0, 245, 18, x, y), 0);
}

TEST(CutToFolder, DropsTheFileNameAndItsBackslash) {
    std::string path = "C:\\lyrics\\song.kra";
    cutToFolder(path);
    EXPECT_EQ(path, "C:\\lyrics");
    std::string bare = "song.kra";
    cutToFolder(bare);
    EXPECT_EQ(bare, "song.kra");
    std::string japanese = u8"C:\\ソング\\表.kra";  // code page 932 gave both a trail byte 0x5C
    cutToFolder(japanese);
    EXPECT_EQ(japanese, u8"C:\\ソング");
}
