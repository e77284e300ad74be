#include "utils/Text.h"

#include <gtest/gtest.h>

TEST(SameText, ComparesIgnoringAsciiCaseOnly) {
    EXPECT_EQ(sameText("@title", "@Title"), 1);
    EXPECT_EQ(sameText("", ""), 1);
    EXPECT_EQ(sameText("C:\\MUSIC\\A.MP3", "c:\\music\\a.mp3"), 1);
    EXPECT_EQ(sameText("abc", "abcd"), 0);
    EXPECT_EQ(sameText("abcd", "abc"), 0);
    // Bytes above 127 (double-byte characters) are compared exactly.
    EXPECT_EQ(sameText("\x82\x60", "\x82\x81"), 0);
}

TEST(SameText, AbsentTextsAreNeverEqual) {
    EXPECT_EQ(sameText(nullptr, nullptr), 0);
    EXPECT_EQ(sameText(nullptr, ""), 0);
    EXPECT_EQ(sameText("", nullptr), 0);
}
