// The plug-in's lyrics environment against the real Win32 API: files and folders with
// double-byte names, change notification, the double-byte test, the host query and the box.
#include "lyrics/Win32LyricsEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "config/Settings.h"
#include "lyrics/LyricsDocument.h"
#include "lyrics/LyricsLoader.h"
#include "lyrics/ShiftJis.h"
#include "plugin/PlayerState.h"
#include "utils/Text.h"

namespace {

const char kSo[] = "\x83\x5c";               // "ソ": its second byte is a backslash
const char kKashi[] = "\x89\xcc\x8e\x8c";    // "歌詞": ends in a byte that could open a character
const char kHostTitle[] = "Host playlist title";

WPARAM askedListPosition = 0;

LRESULT CALLBACK hostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER && lParam == kQueryTitle) {
        askedListPosition = wParam;
        return wParam == 7 ? reinterpret_cast<LRESULT>(kHostTitle) : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createHostWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = hostWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SorvaneLyricsTestHost";
    RegisterClassA(&windowClass);
    return CreateWindowA("SorvaneLyricsTestHost", "host", 0, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void writeFile(const std::string& path, const std::string& contents) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    CloseHandle(file);
}

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

class WinLyricsTree : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        root = std::string(temp) + "sorvane-lyrics-" + std::to_string(GetCurrentProcessId());
        removeTree(root);
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
    }
    void TearDown() override { removeTree(root); }
    void folder(const std::string& relative) { CreateDirectoryA((root + "\\" + relative).c_str(), nullptr); }
    void file(const std::string& relative, const std::string& contents) { writeFile(root + "\\" + relative, contents); }

    std::string root;
};

// Closes every warning box that appears and keeps its text.
class BoxWatcher {
public:
    BoxWatcher() : thread([this] { watch(); }) {}
    ~BoxWatcher() {
        stop = true;
        thread.join();
    }
    std::vector<std::string> texts;

private:
    static BOOL CALLBACK collect(HWND child, LPARAM into) {
        char className[32] = {}, text[512] = {};
        GetClassNameA(child, className, sizeof className);
        GetWindowTextA(child, text, sizeof text);
        if (!lstrcmpiA(className, "Static") && text[0]) reinterpret_cast<std::vector<std::string>*>(into)->push_back(text);
        return TRUE;
    }
    void watch() {
        while (!stop) {
            HWND box = FindWindowA("#32770", kMalformedTagCaption);
            if (box && IsWindowVisible(box)) {
                EnumChildWindows(box, collect, reinterpret_cast<LPARAM>(&texts));
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box)) Sleep(5);
            }
            Sleep(5);
        }
    }
    std::atomic<bool> stop{false};
    std::thread thread;
};

}  // namespace

TEST(Win32LyricsEnvironment, LeadBytesAreThoseOfCodePage932) {
    ASSERT_EQ(GetACP(), 932u);
    Win32LyricsEnvironment environment(nullptr, 0);
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(environment.isLeadByte(static_cast<unsigned char>(byte)), isShiftJisLeadByte(byte)) << byte;
}

TEST(Win32LyricsEnvironment, AsksTheHostForThePlaylistEntrysTitle) {
    HWND host = createHostWindow();
    ASSERT_NE(host, nullptr);
    Win32LyricsEnvironment environment(host, 7);
    char* title = environment.hostTitleCopy();
    EXPECT_STREQ(title, kHostTitle);
    EXPECT_NE(title, kHostTitle);  // a copy
    EXPECT_EQ(askedListPosition, 7u);
    freeText(title);
    environment.listPosition = 3;
    EXPECT_EQ(environment.hostTitleCopy(), nullptr);
    DestroyWindow(host);
}

TEST(Win32LyricsEnvironment, MalformedTagsRaiseOneBoxPerLoad) {
    Win32LyricsEnvironment environment(nullptr, 0);
    LyricsDocument document;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string song = std::string(temp) + "sorvane-malformed.mp3";
    std::string lyrics = replaceExtension(song, "lrc");
    writeFile(lyrics, "[00:01]a[00:02.00]\n[00:03.00]b\n[00:04]c[00:05:0\n");
    BoxWatcher watcher;
    EXPECT_EQ(loadLyrics(document, song.c_str(), 1, environment), 1);
    EXPECT_EQ(loadLyrics(document, song.c_str(), 1, environment), 1);
    DeleteFileA(lyrics.c_str());
    EXPECT_EQ(watcher.texts, (std::vector<std::string>{kMalformedTagText, kMalformedTagText}));
}

TEST(Win32LyricsEnvironment, ConvertsIntoTheAnsiCodePageWithAQuestionMarkForWhatItLacks) {
    Win32LyricsEnvironment environment(nullptr, 0);
    std::string ansi = "old";
    // "夜明けー", Hangul and an accented letter (no forms in code page 932, no look-alikes), U+FFFD.
    ASSERT_EQ(environment.wideToAnsi(u"a\u591c\u660e\u3051\u30fc\ud55c\u00e9\ufffdz", ansi), 1);
    EXPECT_EQ(ansi, "a\x96\xe9\x96\xbe\x82\xaf\x81\x5b???z");
    ASSERT_EQ(environment.wideToAnsi(u"", ansi), 1);
    EXPECT_EQ(ansi, "");
}

TEST(Win32LyricsEnvironment, DoubleByteBackslashDoesNotSplitTheFileName) {
    Win32LyricsEnvironment environment(nullptr, 0);
    EXPECT_EQ(songFileName((std::string("C:\\Music\\") + kSo + ".mp3").c_str(), environment), std::string(kSo) + ".mp3");
    EXPECT_EQ(songFileName((std::string("C:\\") + kKashi + "\\a.mp3").c_str(), environment), "a.mp3");
}

// File names here stay ASCII: the Wine set-up cannot create files with double-byte names.
TEST_F(WinLyricsTree, LooksUpBesideTheSongThenInTheTreeThenInTheTag) {
    HWND host = createHostWindow();
    Win32LyricsEnvironment environment(host, 7);
    Settings settings;
    assignString(settings.LyricsPath, (root + "\\lyrics\\").c_str());
    folder("music");
    folder("lyrics");
    folder("lyrics\\deep");
    std::string song = root + "\\music\\song.mp3";
    file("music\\song.mp3", "no tag");
    file("lyrics\\deep\\SONG.LRC", "[00:01]in the tree");
    LyricsDocument document;
    ASSERT_EQ(lookupLyrics(document, song.c_str(), settings, environment), 1);
    EXPECT_EQ(document.lines[0].text, "in the tree");
    EXPECT_STREQ(document.title, kHostTitle);
    EXPECT_EQ(document.artist, nullptr);

    file("music\\song.txt", "[00:01]beside");
    ASSERT_EQ(lookupLyrics(document, song.c_str(), settings, environment), 1);
    EXPECT_EQ(document.lines[0].text, "beside");

    std::string tagged = root + "\\music\\tagged.mp3";
    std::string block = "LYRICSBEGININD0000210LYR00013[00:01]in tag";
    file("music\\tagged.mp3", "frames" + block + "0000" + std::to_string(block.size()) + "LYRICS200TAG" +
                                    std::string(125, ' '));
    ASSERT_EQ(lookupLyrics(document, tagged.c_str(), settings, environment), 1);
    EXPECT_EQ(document.lines[0].text, "in tag");
    EXPECT_STREQ(document.title, "");  // the ID3v1 title is all spaces
    DestroyWindow(host);
}

TEST_F(WinLyricsTree, ReadsAUtf8LyricsFileIntoTheAnsiCodePage) {
    Win32LyricsEnvironment environment(nullptr, 0);
    file("song.lrc", "\xEF\xBB\xBF[ti:\xE6\xA1\x9C]\r\n[00:01.00]\xE5\xA4\x9C\xE6\x98\x8E\xE3\x81\x91\r\n");
    LyricsDocument document;
    ASSERT_EQ(loadLyrics(document, (root + "\\song.mp3").c_str(), 1, environment), 1);
    EXPECT_EQ(document.encoding, TextEncoding::kUtf8Bom);
    EXPECT_STREQ(document.title, "\x8d\xf7");
    EXPECT_EQ(document.lines[0].text, "\x96\xe9\x96\xbe\x82\xaf");
}

TEST_F(WinLyricsTree, TreeIndexNoticesFilesAddedBelowTheFolder) {
    Win32LyricsEnvironment environment(nullptr, 0);
    folder("a");
    folder("a\\b");
    file("a\\b\\one.kra", "x");
    std::string found;
    std::string one = "ONE.KRA", two = "two.lrc";
    ASSERT_EQ(environment.findInTree(root, &one, 1, found), 1);
    EXPECT_EQ(found, root + "\\a\\b\\one.kra");
    EXPECT_EQ(environment.findInTree(root, &two, 1, found), 0);

    file("a\\b\\two.lrc", "x");
    // The notification may arrive a moment after the file; a song change is far slower.
    int seen = 0;
    for (int wait = 0; wait < 200 && !seen; ++wait) {
        seen = environment.findInTree(root, &two, 1, found);
        if (!seen) Sleep(10);
    }
    ASSERT_EQ(seen, 1);
    EXPECT_EQ(found, root + "\\a\\b\\two.lrc");
}
