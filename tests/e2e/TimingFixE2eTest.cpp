// The timing the user fixes on the bar, through the real plug-in: "[" and "]" and the right-click
// menu move the wipe as a later or earlier position would, "save timing" writes the offset tag
// into the lyrics file in its own encoding, and GlobalOffset moves every song.
#include <map>

#include "PluginRun.h"
#include "lyrics/TaggedSongs.h"
#include "resources/ResourceIds.h"

namespace {

// Three stretches of four letters, sung from 10.00 s, 11.00 s and 13.00 s to 14.00 s.
const std::string kKaraokeLine = "[00:10:00]ABCD[00:11:00]EFGH[00:13:00]IJKL[00:14:00]";
constexpr int kBracketOpen = VK_OEM_4, kBracketClose = VK_OEM_6;  // "[" and "]" on US and Japanese keyboards
// The bar's menu, by the place of the item: its separators are passed over.
enum MenuItem {
    kSettingsItem = 1,
    kEarlierItem,
    kLaterItem,
    kEarlierLargeItem,
    kLaterLargeItem,
    kResetItem,
    kSaveItem
};
constexpr int32_t kHeld = 11500;

std::string fileBytes(const std::string& path) {
    std::string bytes;
    EXPECT_EQ(readFileBytes(path, bytes), 1) << path;
    return bytes;
}

std::string utf16le(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                        wide.data(), static_cast<int>(wide.size()))));
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

// The first column that is the note's edge: the sung colour from top to bottom. -1 without one.
int noteEdge(const Image& image) {
    for (int x = 0; x < image.width; ++x) {
        int y = 0;
        while (y < image.height && image.at(x, y) == kSungPixel) ++y;
        if (y == image.height) return x;
    }
    return -1;
}

// Whether the columns left of `columns` are the same in both pictures.
::testing::AssertionResult sameLeftOf(const Image& shown, const Image& expected, int columns) {
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < shown.height; ++y)
            if (shown.at(x, y) != expected.at(x, y))
                return ::testing::AssertionFailure() << "column " << x << " row " << y << " differs";
    return ::testing::AssertionSuccess();
}

class TimingFix : public PluginRun {
protected:
    // Starts on playlist entry `index` once its lyrics show, and takes the bar as it shows them,
    // unshifted, at each of these positions (rising: the plug-in takes a position less than half
    // a second back as the same one); then the position goes past the line and comes to heldMs.
    void start(int32_t index, std::initializer_list<int32_t> positions, int32_t heldMs = kHeld) {
        ASSERT_EQ(player.init(), 0);
        select(index);
        hold(*positions.begin());
        ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 5000));
        ASSERT_TRUE(player.runUntil([&] { return countPixels(captureBar(), kUnsungPixel) > 20; }, 3000));
        for (int32_t ms : positions) reference[ms] = barAt(ms);
        barAt(30000);
        barAt(heldMs);
    }

    // Plays entry `index` (held where it was) until its lyrics show.
    void showSong(int32_t index) {
        select(index);
        ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 5000));
        ASSERT_TRUE(player.runUntil([&] { return countPixels(captureBar(), kSungPixel) > 20; }, 3000));
    }

    void chooseFromMenu(int item) {
        player.setTimerJob([&] {
            player.watchModalWindows();
            if (HWND menu = findPopupMenu()) choosePopupMenuItem(menu, item);
        });
        sendRightClick(bar(), 20, 5);
        player.setTimerJob(nullptr);
        player.waitTicks(2, 3000);
    }

    // The bar once the note has gone.
    Image settledBar() {
        player.runFor(1100);
        player.waitTicks(2, 3000);
        return captureBar();
    }

    // The bar right after a fix shows the reference at `ms` left of the note, and the note; once
    // the note has gone, the reference whole.
    void expectShownAs(int32_t ms, const char* what) {
        SCOPED_TRACE(what);
        player.waitTicks(2, 3000);
        Image withNote = captureBar();
        int edge = noteEdge(withNote);
        ASSERT_GT(edge, 150) << "a note at the bar's right end";
        EXPECT_TRUE(sameLeftOf(withNote, reference.at(ms), edge));
        EXPECT_EQ(settledBar().pixels, reference.at(ms).pixels) << "the note is gone and left nothing";
    }

    std::map<int32_t, Image> reference;
};

}  // namespace

TEST_F(TimingFix, KeysAndTheMenuMoveTheWipeAsAnotherPositionWouldAndTheBracketsStayWithTheBar) {
    addSongWithLyrics("song", kKaraokeLine + "\r\n");
    ASSERT_NO_FATAL_FAILURE(start(0, {10400, 11500, 11600, 12500, 12600}));
    ASSERT_EQ(noteEdge(reference.at(kHeld)), -1);
    ASSERT_EQ(captureBar().pixels, reference.at(kHeld).pixels);

    sendKey(bar(), kBracketOpen);
    expectShownAs(11600, "[: 0.1 s earlier");
    sendShiftedKey(bar(), kBracketOpen);
    expectShownAs(12600, "Shift+[: 1 s earlier");
    chooseFromMenu(kLaterItem);
    expectShownAs(12500, "menu: 0.1 s later");
    chooseFromMenu(kLaterLargeItem);
    expectShownAs(11500, "menu: 1 s later");
    chooseFromMenu(kLaterLargeItem);
    sendKey(bar(), kBracketClose);
    expectShownAs(10400, "menu: 1 s later, then ]: 0.1 s later");
    chooseFromMenu(kResetItem);
    expectShownAs(11500, "menu: reset");
    chooseFromMenu(kEarlierLargeItem);
    sendShiftedKey(bar(), kBracketClose);
    chooseFromMenu(kEarlierItem);
    expectShownAs(11600, "menu: 1 s earlier, Shift+]: 1 s later, menu: 0.1 s earlier");

    EXPECT_TRUE(player.host().keys().empty()) << "the brackets are not passed on";
    sendKey(bar(), 'Z');
    player.runFor(100);
    EXPECT_EQ(player.host().keys().size(), 2u) << "other keys are";
    EXPECT_TRUE(player.record.boxes.empty());
}

TEST_F(TimingFix, SavingRewritesOnlyTheOffsetLineInTheFilesOwnEncodingOrSaysWhyNotAndTheNextLoadShowsIt) {
    // Shift-JIS with an offset tag of its own; UTF-8 with its mark and LF line ends; UTF-16; a
    // read-only file.
    const std::string sjis = "[ti:\x82\xA0]\r\n[offset:100]\r\n" + kKaraokeLine + "\r\n";
    const std::string locked = "[ti:read-only]\r\n" + kKaraokeLine + "\r\n";
    addSongWithLyrics("sjis", sjis);
    addSongWithLyrics("utf8", "\xEF\xBB\xBF[ar:\xE3\x81\x82]\n" + kKaraokeLine + "\n");
    addSongWithLyrics("utf16", "\xFF\xFE" + utf16le("[ti:x]\r\n" + kKaraokeLine + "\r\n"));
    addSongWithLyrics("locked", locked);
    addSongWithLyrics("other", "[00:01:00]xyz[00:02:00]\r\n");
    const std::string lockedFile = dataPath("locked.kra");
    ASSERT_TRUE(SetFileAttributesA(lockedFile.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_NO_FATAL_FAILURE(start(1, {11500, 11800}));
    auto shiftAndSave = [&](int32_t index) {
        ASSERT_NO_FATAL_FAILURE(showSong(index));
        for (int i = 0; i < 3; ++i) sendKey(bar(), kBracketOpen);
        chooseFromMenu(kSaveItem);
    };
    shiftAndSave(0);
    EXPECT_EQ(fileBytes(dataPath("sjis.kra")), "[ti:\x82\xA0]\r\n[offset:+400]\r\n" + kKaraokeLine + "\r\n");
    shiftAndSave(2);
    EXPECT_EQ(fileBytes(dataPath("utf16.kra")),
              "\xFF\xFE" + utf16le("[ti:x]\r\n[offset:+300]\r\n" + kKaraokeLine + "\r\n"));
    EXPECT_TRUE(player.record.boxes.empty());

    shiftAndSave(3);
    player.runUntil([&] { return !player.record.boxes.empty(); }, 3000);
    ASSERT_EQ(player.record.boxes.size(), 1u);
    EXPECT_EQ(player.record.boxes[0].caption, "Sorvane");
    EXPECT_NE(player.record.boxes[0].text.find(lockedFile), std::string::npos) << player.record.boxes[0].text;
    SetFileAttributesA(lockedFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(fileBytes(lockedFile), locked);
    EXPECT_EQ(settledBar().pixels, reference.at(11800).pixels) << "the shift stays for another try";

    shiftAndSave(1);
    EXPECT_EQ(fileBytes(dataPath("utf8.kra")), "\xEF\xBB\xBF[ar:\xE3\x81\x82]\n[offset:+300]\n" + kKaraokeLine + "\n");
    EXPECT_EQ(settledBar().pixels, reference.at(11800).pixels) << "the saved shift still shows, once";
    // Another song forgets a shift not saved; coming back, the file's offset holds the saved one.
    sendKey(bar(), kBracketOpen);
    select(4);
    ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 5000));
    ASSERT_NO_FATAL_FAILURE(showSong(1));
    EXPECT_EQ(captureBar().pixels, reference.at(11800).pixels) << "the saved timing, not shifted again";
    EXPECT_EQ(player.record.boxes.size(), 1u);
}

TEST_F(TimingFix, LyricsFromTheSongsTagsAreSavedAsItsCopyInTheDownloadFolderWhichTheNextLoadFinds) {
    struct Tagged {
        const char* song;  // one of the tagged songs
        const char* name;  // its name here, and so its copy's
        int32_t heldMs;    // a second later another stretch is sung
        std::string copy;  // the copy a second's shift saves
    };
    const Tagged songs[] = {
        // Three plain lines, from 1.00 s, 3.50 s and 6.00 s, in a FLAC comment: written as they are.
        {"xiph.flac", "tagged", 2800,
         "\xEF\xBB\xBF[ti:Tagged]\n[offset:+1000]\n[00:01.00]First line\n[00:03.50]Second line\n[00:06.00]Third "
         "line\n"},
        // SYLT word by word: "Hel", "lo ", "world" from 1.00 s, 1.50 s and 2.00 s, "Se", "cond"
        // from 4.00 s and 4.50 s: written as LRC with word marks.
        {"sylt-words.mp3", "words", 1200,
         "\xEF\xBB\xBF[offset:+1000]\n[00:01.00]<00:01.00>Hel<00:01.50>lo <00:02.00>world\n"
         "[00:04.00]<00:04.00>Se<00:04.50>cond\n"},
    };
    for (const Tagged& tagged : songs) {
        SCOPED_TRACE(tagged.song);
        if (&tagged != songs) restartPlayer();
        const std::string extension = std::string(tagged.song).substr(std::string(tagged.song).rfind('.'));
        addSong(writeData(tagged.name + extension, taggedSongBytes(tagged.song)));
        addSongWithLyrics("other", "[00:01:00]xyz[00:02:00]\r\n");
        const int32_t later = tagged.heldMs + 1000;
        ASSERT_NO_FATAL_FAILURE(start(0, {tagged.heldMs, later}, tagged.heldMs));
        ASSERT_NE(reference.at(tagged.heldMs).pixels, reference.at(later).pixels) << "another stretch";

        sendShiftedKey(bar(), kBracketOpen);
        chooseFromMenu(kSaveItem);
        EXPECT_EQ(fileBytes(joinPath(joinPath(settingsFolder(), "Lyrics"), tagged.name + std::string(".lrc"))),
                  tagged.copy);
        select(1);
        ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 5000));
        select(0);
        ASSERT_TRUE(player.waitTicks(kStatusTicks + 2, 5000));
        EXPECT_EQ(captureBar().pixels, reference.at(later).pixels) << "the copy, with its saved timing, once";
        EXPECT_TRUE(player.record.boxes.empty());
    }
}

TEST_F(TimingFix, TheOutputDelayTypedOnTheFadesPageShowsTheLyricsThatMuchLaterWithinItsRange) {
    addSongWithLyrics("song", kKaraokeLine + "\r\n");
    ASSERT_NO_FATAL_FAILURE(start(0, {11200, 11700}));
    auto typeInSheet = [&](const char* text) {
        player.config();
        EXPECT_EQ(
            runSheet(1,
                     [&](HWND sheet) { SetDlgItemTextA(sheetPage(sheet, kFadePage), IDC_GLOBAL_OFFSET_EDIT, text); }),
            1);
        player.waitTicks(2, 3000);
    };
    typeInSheet("300");
    EXPECT_EQ(captureBar().pixels, reference.at(11200).pixels) << "300 ms late";
    typeInSheet("-200");
    EXPECT_EQ(captureBar().pixels, reference.at(11700).pixels) << "200 ms early";
    typeInSheet("-99999");
    player.quit();
    EXPECT_EQ(iniValue("GlobalOffset"), "-5000");
}
