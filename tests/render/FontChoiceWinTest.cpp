// Which face draws a line, against the fonts the system really has.
#include "render/FontChoice.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Whether the face has a glyph of its own for every unit of the text.
bool hasEveryGlyph(const std::wstring& face, const std::u16string& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(14, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    HGDIOBJ kept = SelectObject(dc, font);
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, kept);
    DeleteObject(font);
    DeleteDC(dc);
    for (WORD g : glyphs)
        if (g == 0xFFFF) return false;
    return true;
}

}  // namespace

TEST(FontChoice, AnInstalledFaceIsKeptAndAMissingOneGivesWayToAFaceWithTheLinesGlyphs) {
    // The default face (a stand-in here) stays, whatever it lacks: the bar looks as it always did.
    const char defaultFace[] = u8"ＭＳ Ｐゴシック";
    EXPECT_EQ(faceForText(defaultFace, u"\uC0AC\uB791"), L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    // A face the system lacks: each line gets a face with its glyphs (setup installs fonts with
    // Hangul and Chinese besides the Japanese ones).
    for (const std::u16string& line :
         {std::u16string(u"\uC0AC\uB791\uD574\uC694"), std::u16string(u"\u6211\u4EEC\u5531\u6B4C"),
          std::u16string(u"\u591C\u7A7A\u306B\u5149\u308B"), std::u16string(u"Caf\u00E9")}) {
        std::wstring face = faceForText("No Such Face Anywhere", line);
        EXPECT_NE(face, L"No Such Face Anywhere");
        EXPECT_TRUE(hasEveryGlyph(face, line)) << "line starting U+" << std::hex << static_cast<int>(line[0]);
        EXPECT_NE(face[0], L'@');
    }
    // Characters beyond the Basic Multilingual Plane count by the faces' own glyphs: of the fonts
    // setup installs, only DejaVu Sans has these emoji, and only IPA Gothic this ideograph (which
    // has no Hangul, so that it wins only by the three of them).
    std::wstring emojiFace = faceForText("No Such Face Anywhere", u"\U0001F600\U0001F601\U0001F602 ok");
    EXPECT_EQ(emojiFace.substr(0, 11), L"DejaVu Sans") << std::string(emojiFace.begin(), emojiFace.end());
    EXPECT_EQ(emojiFace.find(L"Mono"), std::wstring::npos);
    std::wstring ideographFace = faceForText("No Such Face Anywhere", u"\U00020B9F\U00020B9F\U00020B9F \uC0AC\uB791");
    EXPECT_EQ(ideographFace.substr(0, 3), L"IPA");
    forgetInstalledFaces();
    EXPECT_NE(faceForText(nullptr, u"\uC0AC"), L"");
}
