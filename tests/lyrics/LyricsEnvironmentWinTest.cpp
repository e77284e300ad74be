// The plug-in's lyrics environment against the real Win32 API: files and folders named in any
// script and past MAX_PATH, change notification, the ANSI code page and the box.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "lyrics/BesideSongSource.h"
#include "lyrics/LookupOrder.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/SongPath.h"
#include "lyrics/TaggedSongs.h"
#include "lyrics/Win32LyricsEnvironment.h"
#include "lyrics/WinLyricsTree.h"
#include "utils/WinPath.h"
#include "utils/WinText.h"
#include "utils/WinUiText.h"

namespace {

// Texts outside code page 932 stay out of the test macros, which would quote them in that code page.
const std::string kWideHostTitleUtf8 = u8"사랑 🎤";
const std::string kBesideText = u8"beside 😀";

// The whole lookup on this machine, as the lookup worker runs it.
int lookUpOnThisMachine(LyricsDocument& document, const char* path, const LookupOptions& options,
                        LyricsEnvironment& environment) {
    LookupSong song(path);
    return lookUpLyrics(lookupOrder(), document, song, options, environment);
}

// Closes every warning box that appears and keeps its text.
class BoxWatcher {
public:
    BoxWatcher() : thread([this] { watch(); }) {}
    ~BoxWatcher() {
        stop = true;
        thread.join();
    }
    std::vector<std::wstring> texts;

private:
    static BOOL CALLBACK collect(HWND child, LPARAM into) {
        wchar_t className[32] = {}, text[512] = {};
        GetClassNameW(child, className, 32);
        GetWindowTextW(child, text, 512);
        if (!lstrcmpiW(className, L"Static") && text[0])
            reinterpret_cast<std::vector<std::wstring>*>(into)->push_back(text);
        return TRUE;
    }
    void watch() {
        while (!stop) {
            HWND box = FindWindowW(L"#32770", caption.c_str());
            if (box && IsWindowVisible(box)) {
                EnumChildWindows(box, collect, reinterpret_cast<LPARAM>(&texts));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box)) Sleep(5);
            }
            Sleep(5);
        }
    }
    const std::wstring caption = uiTextW(UiText::MalformedTagCaption);
    std::atomic<bool> stop{false};
    std::thread thread;
};

}  // namespace

TEST(Win32LyricsEnvironment, MalformedTagsCountOncePerLoadForTheBoxWithTheJapaneseText) {
    Win32LyricsEnvironment environment;
    LyricsDocument document;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string song = narrow(temp) + "sorvane-malformed.mp3";
    std::string lyrics = replaceExtension(song, "lrc");
    writeFile(lyrics, "[00:01]a[00:02.00]\n[00:03.00]b\n[00:04]c[00:05:0\n");
    EXPECT_EQ(loadFromSource(BesideSongSource(), document, song.c_str(), 1, environment), 1);
    EXPECT_EQ(loadFromSource(BesideSongSource(), document, song.c_str(), 1, environment), 1);
    DeleteFileW(widePath(lyrics).c_str());
    EXPECT_EQ(environment.malformedLoads, 2);
    BoxWatcher watcher;
    for (int load = 0; load < environment.malformedLoads; ++load) showMalformedTagWarning();
    const std::wstring text =
        L"\u30bf\u30b0\u306e\u8868\u8a18\u304c\u9593\u9055\u3063\u3066\u3044\u307e\u3059\u3002\n"
        L"\u3053\u306e\u30d5\u30a1\u30a4\u30eb\u3067\u306f\u6b63\u3057\u304f\u6b4c\u8a5e\u3092"
        L"\u8868\u793a\u3067\u304d\u307e\u305b\u3093\u3002";
    EXPECT_EQ(watcher.texts, (std::vector<std::wstring>{text, text}));
}

TEST_F(WinLyricsTree, LooksUpBesideTheSongThenInTheTreeThenInTheTagByNamesInAnyScript) {
    Win32LyricsEnvironment environment;
    environment.hostTitle = kWideHostTitleUtf8;
    LookupOptions options;
    options.lyricsFolder = (root + u8"\\歌詞\\").c_str();
    folder(u8"음악");
    folder(u8"歌詞");
    folder(u8"歌詞\\深い");
    std::string song = root + u8"\\음악\\사랑 さくら Café σοφία Äpfel.mp3";
    file(u8"음악\\사랑 さくら Café σοφία Äpfel.mp3", "no tag");
    // Letters of any script in either case, as the file system takes them.
    file(u8"歌詞\\深い\\사랑 さくら CAFÉ ΣΟΦΊΑ äPFEL.LRC", "[00:01]in the tree");
    LyricsDocument document;
    ASSERT_EQ(lookUpOnThisMachine(document, song.c_str(), options, environment), 1);
    EXPECT_EQ(document.lines[0].text, "in the tree");
    EXPECT_EQ(document.title, kWideHostTitleUtf8);
    EXPECT_EQ(document.artist, std::nullopt);

    file(u8"음악\\사랑 さくら Café σοφία Äpfel.txt", "[00:01]" + kBesideText);
    ASSERT_EQ(lookUpOnThisMachine(document, song.c_str(), options, environment), 1);
    EXPECT_EQ(document.lines[0].text, kBesideText);

    std::string tagged = root + u8"\\음악\\タグ.mp3";
    std::string block = "LYRICSBEGININD0000210LYR00013[00:01]in tag";
    file(u8"음악\\タグ.mp3",
         "frames" + block + "0000" + std::to_string(block.size()) + "LYRICS200TAG" + std::string(125, ' '));
    ASSERT_EQ(lookUpOnThisMachine(document, tagged.c_str(), options, environment), 1);
    EXPECT_EQ(document.lines[0].text, "in tag");
    EXPECT_EQ(document.title, kWideHostTitleUtf8);  // an ID3v1 block of spaces names no title or artist
}

TEST_F(WinLyricsTree, ReadsShiftJisAndUtf8FilesIntoUtf8) {
    Win32LyricsEnvironment environment;
    file("sjis.lrc", "[ti:\x8d\xf7]\r\n[00:01.00]\x96\xe9\x96\xbe\x82\xaf\r\n");
    // A lead byte cut off by a line end: one U+FFFD, and the line end still ends the line.
    file("broken.lrc", "[00:01]a\x81\n[00:02]b\xfd\x82");
    file("utf8.lrc", u8"\uFEFF[ti:桜]\r\n[00:01.00]夜明け\r\n");
    LyricsDocument document;
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, (root + "\\sjis.mp3").c_str(), 1, environment), 1);
    EXPECT_EQ(encodingName(document.encoding, document.ansiCodePage), "ansi-932");
    EXPECT_EQ(document.title, u8"桜");
    EXPECT_EQ(document.lines[0].text, u8"夜明け");
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, (root + "\\broken.mp3").c_str(), 1, environment), 1);
    ASSERT_EQ(document.lineCount(), 2);
    EXPECT_EQ(document.lines[0].text, "a\xEF\xBF\xBD");
    EXPECT_EQ(document.lines[1].text, "b\xEF\xBF\xBD\xEF\xBF\xBD");
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, (root + "\\utf8.mp3").c_str(), 1, environment), 1);
    EXPECT_EQ(document.encoding, TextEncoding::kUtf8Bom);
    EXPECT_EQ(document.title, u8"桜");
    EXPECT_EQ(document.lines[0].text, u8"夜明け");
}

TEST_F(WinLyricsTree, PathsPastMaxPathAreFoundAndReadAndUnnameablePathsRefused) {
    Win32LyricsEnvironment environment;
    std::string deep;
    for (int i = 0; i < 8; ++i) {
        deep += (i ? "\\" : "") + std::string(u8"とても長いフォルダの名前") + std::to_string(i) + std::string(20, 'x');
        folder(deep);
    }
    std::string song = root + "\\" + deep + "\\song.mp3";
    ASSERT_GT(widen(song).size(), static_cast<size_t>(MAX_PATH));
    file(deep + "\\song.lrc", "[00:01]deep beside");
    LyricsDocument document;
    ASSERT_EQ(loadFromSource(BesideSongSource(), document, song.c_str(), 1, environment), 1);
    EXPECT_EQ(document.lines[0].text, "deep beside");

    LookupOptions options;
    options.lyricsFolder = root.c_str();
    ASSERT_EQ(lookUpOnThisMachine(document, (root + "\\elsewhere\\song.mp3").c_str(), options, environment), 1);
    EXPECT_EQ(document.lines[0].text, "deep beside");

    // A path that is not UTF-8 or is longer than the system allows names no file at all.
    file("caf\xef\xbf\xbd.lrc", "[00:01]x");  // "caf" and U+FFFD
    EXPECT_EQ(environment.openFile((root + "\\caf\xe9.lrc").c_str()), nullptr);
    EXPECT_NE(environment.openFile((root + "\\caf\xef\xbf\xbd.lrc").c_str()), nullptr);
    EXPECT_EQ(environment.openFile((root + "\\" + std::string(kMaxWidePath, 'x')).c_str()), nullptr);
}

TEST_F(WinLyricsTree, TreeIndexNoticesFilesAddedBelowTheFolder) {
    Win32LyricsEnvironment environment;
    folder("a");
    folder(u8"a\\가");
    file(u8"a\\가\\one.kra", "x");
    std::string found;
    std::string one = "ONE.KRA", two = u8"二.lrc";
    const std::string folderPath = root + u8"\\a\\가";
    ASSERT_EQ(environment.findInTree(root, &one, 1, found), 1);
    EXPECT_EQ(found, folderPath + "\\one.kra");
    EXPECT_EQ(environment.findInTree(root, &two, 1, found), 0);

    file(u8"a\\가\\二.lrc", "x");
    // The notification may arrive a moment after the file (Wine's server passes it on, seconds
    // late on a busy machine); a song change is far slower.
    int seen = 0;
    for (int wait = 0; wait < 1000 && !seen; ++wait) {
        seen = environment.findInTree(root, &two, 1, found);
        if (!seen) Sleep(10);
    }
    ASSERT_EQ(seen, 1);
    EXPECT_EQ(found, folderPath + u8"\\二.lrc");
}

TEST_F(WinLyricsTree, ReadsTheTagsOfASongNamedInAnyScript) {
    Win32LyricsEnvironment environment;
    LookupOptions options;
    folder(u8"음악 🎤");
    std::string song = root + u8"\\음악 🎤\\夜明け Café.ogg";
    file(u8"음악 🎤\\夜明け Café.ogg", taggedSongBytes("vorbis.ogg"));
    LyricsDocument document;
    ASSERT_EQ(lookUpOnThisMachine(document, song.c_str(), options, environment), 1);
    EXPECT_EQ(document.tagField, "UNSYNCED LYRICS");
    EXPECT_EQ(document.lines[0].text, u8"桜の歌");
}
