#include "render/FaceCoverage.h"

#include <gtest/gtest.h>

TEST(FaceCoverage, ChoosesTheFaceWithMostOfTheLineAndTheFirstOnATie) {
    const FaceCharacters latin = {{0x20, 0x7E}, {0xA0, 0xFF}};
    const FaceCharacters kana = {{0x20, 0x7E}, {0x3041, 0x30FF}};
    const FaceCharacters hangul = {{0x20, 0x7E}, {0xAC00, 0xD7A3}, {0xFF01, 0xFF5E}};
    const std::vector<FaceCharacters> faces = {latin, kana, hangul};
    // Beyond the Basic Multilingual Plane only the kana face has the microphone, and the Hangul
    // face the smile.
    auto beyondBmp = [](size_t face, char32_t c) { return (face == 1 && c == 0x1F3A4) || (face == 2 && c == 0x1F600); };
    EXPECT_EQ(bestCoveringFace(faces, u"Caf\u00E9", beyondBmp), 0u);
    EXPECT_EQ(bestCoveringFace(faces, u"\u3042\u3044 la", beyondBmp), 1u);
    EXPECT_EQ(bestCoveringFace(faces, u"\uC0AC\uB791\uD574\uC694 \u3042", beyondBmp),
              2u);                                                       // four of Hangul, one of kana
    EXPECT_EQ(bestCoveringFace(faces, u"plain", beyondBmp), 0u);         // every face: the first
    EXPECT_EQ(bestCoveringFace(faces, u"\u4E2D\u6587", beyondBmp), 0u);  // no face: the first
    EXPECT_EQ(bestCoveringFace(faces, u"", beyondBmp), 0u);
    EXPECT_EQ(bestCoveringFace({}, u"x", beyondBmp), 0u);
    // Emoji count as characters of the faces that have them, each pair once.
    EXPECT_EQ(bestCoveringFace(faces, u"\U0001F3A4\U0001F3A4 \u00E9", beyondBmp), 1u);
    EXPECT_EQ(bestCoveringFace(faces, u"\U0001F600 \u3042 \U0001F600\U0001F600", beyondBmp), 2u);
    // Range ends count, the characters just outside do not; a lone surrogate is no character.
    auto none = [](char32_t) { return false; };
    EXPECT_EQ(coveredCharacters(hangul, u"\uAC00\uD7A3\uABFF\uD7A4\U0001F3A4\uFF5E", none), 3u);
    const std::u16string lone = {0xD83C, u'x', 0xDFA4, 0xD83C};
    EXPECT_EQ(coveredCharacters(latin, lone, [](char32_t) { return true; }), 1u);
    EXPECT_EQ(charactersBeyondBmp(u"\U0001F3A4a\U0001F600\U0001F3A4"), (std::vector<char32_t>{0x1F3A4, 0x1F600}));
    EXPECT_TRUE(charactersBeyondBmp(lone).empty());
}
