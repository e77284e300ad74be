// Every script from the host to the pixels, through the real plug-in: a song named in Japanese and
// Korean with UTF-8 lyrics beside it in Japanese, Korean, Chinese, accented Latin and an emoji, a
// wide playlist title in the banner, and an old host's ANSI names. The suite runs twice, with the
// Japanese code page (932) and with the Western one (1252), which holds none of those scripts.
//
// Texts here are written as UTF-8 literals: the file is compiled to code page 932, which lacks
// Hangul and the emoji.
#include <set>

#include "PluginRun.h"
#include "lyrics/TaggedSongs.h"

namespace {

std::wstring wide(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

// One line of the lyrics file: each character of `characters` is its own timed stretch, half a
// second each, from `startTime` (hundredths), so that the wipe stops at every character boundary.
struct ScriptLine {
    std::vector<std::string> characters;  // UTF-8, one character each
    int32_t startTime;
    int32_t markTime(size_t k) const { return startTime + 50 * static_cast<int32_t>(k); }
};

std::string tag(int32_t hundredths) {
    char text[16];
    std::snprintf(text, sizeof text, "[%02d:%02d:%02d]", hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
    return text;
}

std::string lyricsText(const std::vector<ScriptLine>& lines) {
    std::string text;
    for (const ScriptLine& line : lines) {
        for (size_t k = 0; k < line.characters.size(); ++k) text += tag(line.markTime(k)) + line.characters[k];
        text += tag(line.markTime(line.characters.size())) + "\r\n";
    }
    return text;
}

bool isSungPixel(uint32_t p) { return p == 0xFFFFFF || p == 0x787878 || p == 0x0A0A0A; }

// The rightmost column holding a pixel of the sung colours, or -1.
int lastSungColumn(const Image& bar) {
    for (int x = bar.width - 1; x >= 0; --x)
        for (int y = 0; y < bar.height; ++y)
            if (isSungPixel(bar.at(x, y))) return x;
    return -1;
}

// Columns [first, last] of the picture, every row.
std::vector<uint32_t> columns(const Image& image, int first, int last) {
    std::vector<uint32_t> out;
    for (int y = 0; y < image.height; ++y)
        for (int x = first; x <= last; ++x) out.push_back(image.at(x, y));
    return out;
}

class Scripts : public PluginRun {
protected:
    // Names in UTF-8 for files in the test's data folder, whatever the ANSI code page holds.
    std::string writeDataUtf8(const std::string& name, const std::string& bytes) {
        std::string path = dataPath("") + name;
        HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << "cannot write " << path;
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return path;
    }
    void writeIniUtf8(const char* key, const std::string& value) {
        WritePrivateProfileStringW(wide(kIniSection).c_str(), wide(key).c_str(), wide(value).c_str(),
                                   wide(iniPath()).c_str());
    }

    // How many stretches of the banner the bar shows, drawn as the plug-in should draw the title
    // (UTF-8) in that face: five copies from x = 16, 32 pixels apart. One when the bar shows it.
    int bannerStretches(const std::string& face, const std::string& title) {
        std::wstring text = wide(title + "     ---  SORVANE  v0.15b  ---  ");
        Image picture(80 * 18, 18);
        HDC dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ keptBitmap = SelectObject(dc, section);
        HFONT font = CreateFontW(14, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, wide(face).c_str());
        HGDIOBJ keptFont = SelectObject(dc, font);
        SetTextColor(dc, RGB(0x32, 0x32, 0x32));
        SetBkMode(dc, TRANSPARENT);
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        for (int i = 0; i < 5; ++i)
            TextOutW(dc, 16 + i * (size.cx + 32), 2, text.c_str(), static_cast<int>(text.size()));
        GdiFlush();
        for (size_t i = 0; i < picture.pixels.size(); ++i)
            picture.pixels[i] = static_cast<uint32_t*>(bits)[i] & 0xFFFFFF;
        SelectObject(dc, keptFont);
        DeleteObject(font);
        SelectObject(dc, keptBitmap);
        DeleteObject(section);
        DeleteDC(dc);

        Image bar = captureBar();
        int matches = 0;
        for (int s = 0; s < size.cx + 32; ++s) {
            bool same = true;
            for (int y = 0; y < bar.height && same; ++y)
                for (int x = 0; x < bar.width && same; ++x) same = bar.at(x, y) == picture.at(s + x, y);
            matches += same;
        }
        return matches;
    }
};

}  // namespace

TEST_F(Scripts, ASongNamedInJapaneseAndKoreanShowsItsUtf8LyricsInEveryScript) {
    // A face no system has: the bar draws each line with an installed face that has its glyphs.
    writeIniUtf8("FontName", "No Such Face Anywhere");
    const std::vector<ScriptLine> lines = {
        {{u8"夜", u8"空", u8"に", u8"光", u8"る"}, 1000},
        {{u8"사", u8"랑", u8"해", u8"요"}, 2000},
        {{u8"我", u8"们", u8"唱", u8"歌"}, 3000},
        {{u8"C", u8"a", u8"f", u8"é", u8"\U0001F3A4"}, 4000},
    };
    writeDataUtf8(u8"夜空と사랑.lrc", lyricsText(lines));
    addSongUtf8(dataPath("") + u8"夜空と사랑.mp3");
    ASSERT_EQ(player.init(), 0);
    barAt(playerTime(lines[0].markTime(0)) * 10, kStatusTicks + 2);

    for (const ScriptLine& line : lines) {
        SCOPED_TRACE("the line starting " + line.characters[0]);
        // The wipe stops at each character boundary in turn: the sung part grows by one character.
        std::vector<int> fronts;
        Image whole;
        for (size_t k = 0; k <= line.characters.size(); ++k) {
            whole = barAt(playerTime(line.markTime(k)) * 10);
            fronts.push_back(lastSungColumn(whole));
            if (k > 0) {
                EXPECT_GT(fronts[k], fronts[k - 1]) << "after character " << k;
            }
        }
        int drawn = static_cast<int>(whole.pixels.size()) - countPixels(whole, kBlackPixel);
        EXPECT_GT(drawn, 40 * static_cast<int>(line.characters.size())) << "the whole line is shown";
        EXPECT_EQ(countPixels(whole, kUnsungPixel), 0) << "and sung";
        // Each character's columns hold a glyph of its own: no two look alike, as empty boxes would.
        std::set<std::vector<uint32_t>> glyphs;
        for (size_t k = 0; k + 1 < fronts.size(); ++k) {
            std::vector<uint32_t> glyph = columns(whole, fronts[k] + 1, fronts[k + 1]);
            EXPECT_TRUE(glyphs.insert(glyph).second) << "character " << k << " looks like an earlier one";
        }
    }
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(Scripts, TheBannerShowsAWidePlaylistTitleOrTheSongsTitleAndArtistFromItsTags) {
    const std::string face = "WenQuanYi Micro Hei";  // installed by tools/setup
    writeIniUtf8("FontName", face);
    const std::string title = u8"夜空 사랑 我们 Café";
    // A song file without tags and without lyrics: the banner shows the playlist's title.
    addSongUtf8(writeDataUtf8(u8"星と별.mp3", std::string(1000, '\x55')), title);
    // One whose ID3v2 frames name it (and whose APEv2 tag and ID3v1 block name it otherwise).
    addSongUtf8(writeDataUtf8(u8"夜空.mp3", taggedSongBytes("titles.mp3")), "Playlist - Title");
    ASSERT_EQ(player.init(), 0);
    hold(5000);
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 3000));
    EXPECT_EQ(bannerStretches(face, title), 1) << "the bar shows a stretch of the banner with the whole title";
    EXPECT_GT(countPixels(captureBar(), kBannerTextPixel), 0);

    select(1);
    const std::string tagged = u8"夜空の星 / Café Band";
    player.runUntil([&] { return bannerStretches(face, tagged) == 1; }, 3000);
    EXPECT_EQ(bannerStretches(face, tagged), 1) << "the title and artist of the song's tags";
}

TEST_F(Scripts, AnOldHostsAnsiNamesStillFindTheLyrics) {
    // A name the system's ANSI code page holds: the old host hands it over in that code page.
    const std::string stem = GetACP() == 932 ? u8"歌の本" : u8"Café crème";
    withModel([](HostModel& m) { m.oldHost = 1; });
    writeDataUtf8(stem + ".kra", "[00:10:00]ABCD[00:11:00]EFGH[00:13:00]IJKL[00:14:00]\r\n");
    addSongUtf8(dataPath("") + stem + ".mp3");
    ASSERT_EQ(player.init(), 0);
    Image bar = barAt(12000, kStatusTicks + 2);
    EXPECT_GT(countPixels(bar, kSungPixel), 20);
    EXPECT_GT(countPixels(bar, kUnsungPixel), 20);
    EXPECT_EQ(player.host().queryCount(214), 0) << "an old host is asked the old queries only";
    EXPECT_GT(player.host().queryCount(211), 0);
}
