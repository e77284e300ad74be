#include "render/FaceCoverage.h"

#include <gtest/gtest.h>

TEST(FaceCoverage, ChoosesTheFaceWithMostOfTheLineAndTheFirstOnATie) {
    const FaceCharacters latin = {{0x20, 0x7E}, {0xA0, 0xFF}};
    const FaceCharacters kana = {{0x20, 0x7E}, {0x3041, 0x30FF}};
    const FaceCharacters hangul = {{0x20, 0x7E}, {0xAC00, 0xD7A3}, {0xFF01, 0xFF5E}};
    const std::vector<FaceCharacters> faces = {latin, kana, hangul};
    EXPECT_EQ(bestCoveringFace(faces, u"Caf\u00E9"), 0u);
    EXPECT_EQ(bestCoveringFace(faces, u"\u3042\u3044 la"), 1u);
    EXPECT_EQ(bestCoveringFace(faces, u"\uC0AC\uB791\uD574\uC694 \u3042"), 2u);  // four of Hangul, one of kana
    EXPECT_EQ(bestCoveringFace(faces, u"plain"), 0u);                            // every face: the first
    EXPECT_EQ(bestCoveringFace(faces, u"\u4E2D\u6587"), 0u);                     // no face: the first
    EXPECT_EQ(bestCoveringFace(faces, u""), 0u);
    EXPECT_EQ(bestCoveringFace({}, u"x"), 0u);
    // Range ends count, the characters just outside do not; a pair beyond the BMP counts for none.
    EXPECT_EQ(coveredCharacters(hangul, u"\uAC00\uD7A3\uABFF\uD7A4\U0001F3A4\uFF5E"), 3u);
}
