// Lyrics files shaped as people have them today, loaded beside a song as the plug-in loads them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lyrics/BesideSongSource.h"
#include "lyrics/FakeLyricsEnvironment.h"
#include "lyrics/LyricsDocument.h"

namespace {

using Marks = std::vector<std::pair<int32_t, int32_t>>;

struct Line {
    std::string text;
    int32_t isKaraoke;
    Marks marks;
};

struct LrcFile {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
    int32_t offsetMs;
    const char* title;
    const char* artist;
    std::vector<Line> lines;
};

const std::u16string kJapanese =
    u"[ti:桜]\r\n[ar:サクラバンド]\r\n[00:01.00]さくら さくら\r\n[00:05.50]やよいの そらは\r\n";
const std::vector<Line> kJapaneseLines = {{u8"さくら さくら", 0, {{0, 100}, {19, 550}}},
                                          {u8"やよいの そらは", 0, {{0, 550}, {22, 850}}}};

const std::vector<Line> kPlainLines = {{"First line", 0, {{0, 1200}, {10, 1720}}},
                                       {"Second line", 0, {{0, 1720}, {11, 2110}}},
                                       {"Chorus line", 0, {{0, 2110}, {11, 2600}}},
                                       {"Last line", 0, {{0, 3000}, {9, 3300}}},
                                       {"Chorus line", 0, {{0, 9050}, {11, 9350}}}};

const LrcFile kFiles[] = {
    {"ID tags and full-stop tags",
     "[ti:Spring Song]\r\n[ar:The Band]\r\n[al:First Album]\r\n[by:Timer]\r\n[length:03:25]\r\n\r\n"
     "[00:12.00]First line\r\n[00:17.20]Second line\r\n[00:21.10][01:30.50]Chorus line\r\n[00:26.00]\r\n"
     "[00:30.00]Last line\r\n",
     TextEncoding::kAnsi, 0, "Spring Song", "The Band", kPlainLines},
    {"the same in milliseconds",
     "[ti:Spring Song]\n[ar:The Band]\n[00:12.000]First line\n[00:17.205]Second line\n"
     "[00:21.109][01:30.504]Chorus line\n[00:26.001]\n[00:30.000]Last line\n",
     TextEncoding::kAnsi, 0, "Spring Song", "The Band", kPlainLines},
    {"enhanced LRC word timing",
     "[ti:Word by word]\n[00:05.00]<00:05.00>Twin<00:05.40>kle <00:05.80>twin<00:06.20>kle<00:06.60>\n"
     "[00:07.00]<00:07.00>lit<00:07.30>tle <00:07.60>star\n",
     TextEncoding::kAnsi,
     0,
     "Word by word",
     nullptr,
     {{"Twinkle twinkle", 1, {{0, 500}, {0, 500}, {4, 540}, {8, 580}, {12, 620}, {15, 660}}},
      {"little star", 1, {{0, 700}, {0, 700}, {3, 730}, {7, 760}, {11, 1060}}}}},
    {"Shift-JIS Japanese", FakeLyricsEnvironment::shiftJis(kJapanese), TextEncoding::kAnsi, 0, u8"桜", u8"サクラバンド",
     kJapaneseLines},
    {"UTF-8 Japanese",
     std::string(u8"[ti:桜]\n[ar:サクラバンド]\n[00:01.00]さくら さくら\n[00:05.50]やよいの そらは\n"),
     TextEncoding::kUtf8, 0, u8"桜", u8"サクラバンド", kJapaneseLines},
    {"UTF-8 Japanese with a byte-order mark",
     std::string(u8"\uFEFF[ti:桜]\n[ar:サクラバンド]\n[00:01.00]さくら さくら\n[00:05.50]やよいの そらは\n"),
     TextEncoding::kUtf8Bom, 0, u8"桜", u8"サクラバンド", kJapaneseLines},
    {"UTF-16 LE Japanese", utf16File(kJapanese, 0), TextEncoding::kUtf16Le, 0, u8"桜", u8"サクラバンド",
     kJapaneseLines},
    {"UTF-8 in every script",
     std::string(u8"[ti:Café]\n[00:01.00]<00:01.00>한국어 <00:01.50>中文 <00:02.00>🎤é\n"),
     TextEncoding::kUtf8,
     0,
     u8"Café",
     nullptr,
     {{u8"한국어 中文 🎤é", 1, {{0, 100}, {0, 100}, {10, 150}, {17, 200}, {23, 500}}}}},
    {"colon and full-stop tags mixed",
     "@Title Mixed\n[00:01]Colon short\n[00:02:50]Colon long\n[00:04.00]Full stop\n[00:05.250]Milliseconds\n"
     "[00:06:00]Ka[00:06.50]ra[00:07]o[00:07.250]ke\n",
     TextEncoding::kAnsi,
     0,
     "Mixed",
     nullptr,
     {{"Colon short", 0, {{0, 100}, {11, 250}}},
      {"Colon long", 0, {{0, 250}, {10, 400}}},
      {"Full stop", 0, {{0, 400}, {9, 525}}},
      {"Milliseconds", 0, {{0, 525}, {12, 600}}},
      {"Karaoke", 1, {{0, 600}, {2, 650}, {4, 700}, {5, 725}, {7, 1025}}}}},
    {"negative offset: later",
     "[offset:-500]\n[00:10.00]Later\n[00:20.00]Still later\n",
     TextEncoding::kAnsi,
     -500,
     nullptr,
     nullptr,
     {{"Later", 0, {{0, 1050}, {5, 2050}}}, {"Still later", 0, {{0, 2050}, {11, 2350}}}}},
    {"positive offset: earlier",
     "[offset:+1500]\n[00:01.00]Early\n[00:10.00]Next\n",
     TextEncoding::kAnsi,
     1500,
     nullptr,
     nullptr,
     {{"Early", 0, {{0, 0}, {5, 850}}}, {"Next", 0, {{0, 850}, {4, 1150}}}}},
};

}  // namespace

TEST(LrcFiles, LoadAsSynchronisedLyricsWithoutWarnings) {
    for (const LrcFile& file : kFiles) {
        SCOPED_TRACE(file.name);
        FakeLyricsEnvironment environment;
        environment.files = {{"C:\\Music\\song.lrc", file.bytes}};
        LyricsDocument document;
        ASSERT_EQ(loadFromSource(BesideSongSource(), document, "C:\\Music\\song.mp3", 1, environment), 1);
        EXPECT_TRUE(environment.warnings.empty());
        EXPECT_EQ(document.encoding, file.encoding);
        EXPECT_EQ(document.offsetMs, file.offsetMs);
        EXPECT_EQ(document.title, file.title ? std::optional<std::string>(file.title) : std::nullopt);
        EXPECT_EQ(document.artist, file.artist ? std::optional<std::string>(file.artist) : std::nullopt);
        ASSERT_EQ(document.lineCount(), static_cast<int32_t>(file.lines.size()));
        for (size_t n = 0; n < file.lines.size(); ++n) {
            const LyricsLine& line = document.lines[n];
            Marks marks;
            for (const TimeMark& m : line.marks) marks.emplace_back(m.offset, m.time);
            EXPECT_EQ(line.text, file.lines[n].text) << n;
            EXPECT_EQ(line.length, static_cast<int32_t>(line.text.size())) << n;
            EXPECT_EQ(line.isKaraoke, file.lines[n].isKaraoke) << n;
            EXPECT_EQ(marks, file.lines[n].marks) << n;
        }
    }
}
