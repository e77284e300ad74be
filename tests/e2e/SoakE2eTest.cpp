// A long run of everything a listener does, through the real plug-in: fifty songs of every kind
// (lyrics beside the song, in the LyricsPath tree, in a Lyrics3 tag, none at all), seeks, pauses,
// stops, host skin changes, effects, and the settings sheet changing the skin and the bar's size.
// Ticks come back to back, many minutes' worth. At the end the plug-in must hold no more GDI
// objects, handles or memory than after warming up, and must not have shown a message box.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <random>

#include "PluginRun.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kSongs = 50;
constexpr long kSoakTicks = 12000;  // over three minutes at the timer's pace
constexpr int kSkinFolders = 4;     // the last one has no main.bmp

std::string tag(int hundredths) {
    char text[16];
    std::snprintf(text, sizeof text, "[%02d:%02d:%02d]", hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
    return text;
}

// About forty seconds of lines: karaoke lines of a few to many stretches, some ending right before
// the next (cross-fades), some with a gap (fades), a repeated line, Japanese and English text.
std::string lyricsFor(int song, std::mt19937& random) {
    static const char* const kStretches[] = {"夜空に",     "光る",      "星を",
                                             "Sing ",      "along ",    "with ",
                                             "ラ",         "歌おうよ",  "この長い行はバーより広いので",
                                             "スクロール", "しながら ", "Karaoke "};
    std::string text = "@Title\tSoak " + std::to_string(song) + "\r\n@Artist\tソーク\r\n";
    int t = 100 + static_cast<int>(random() % 200);
    for (int line = 0; line < 10; ++line) {
        int stretches = 2 + static_cast<int>(random() % 14);
        for (int k = 0; k < stretches; ++k) {
            text += tag(t) + kStretches[random() % 12];
            t += 20 + static_cast<int>(random() % 40);
        }
        text += tag(t) + "\r\n";
        t += static_cast<int>(random() % 150);
    }
    return text + tag(150) + tag(t + 50) + "繰り返しの行\r\n";
}

std::string id3Block(const std::string& title) {
    std::string field = (title + std::string(30, ' ')).substr(0, 30);
    return "TAG" + field + "Soak artist" + std::string(19, ' ') + std::string(65, '\0');
}

// A song file whose lyrics are in a Lyrics3 v2.00 tag, followed by its ID3v1 block.
std::string songWithLyrics3(const std::string& lyrics) {
    char size[8];
    std::snprintf(size, sizeof size, "%05zu", lyrics.size());
    std::string block = "LYRICSBEGIN" + std::string("IND00002") + "10" + "LYR" + size + lyrics;
    std::snprintf(size, sizeof size, "%06zu", block.size());
    return std::string(2000, '\x11') + block + size + "LYRICS200" + id3Block("Lyrics3 song");
}

struct Resources {
    long gdiObjects = 0;  // -1: cannot be counted here
    long userObjects = 0;
    long handles = 0;
    size_t heapBytes = 0;  // bytes in use in every heap of the process
    size_t workingSet = 0;
};

bool underWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// Wine answers 0 for the GDI object count; its GDI handle table, shared with the process through
// the PEB, tells the live objects by their type. Its entries have the same layout in 32-bit and
// 64-bit processes.
long wineGdiObjects() {
    struct Entry {
        uint64_t object;
        uint32_t owner;
        uint16_t unique;
        uint8_t type;
        uint8_t flags;
        uint64_t user;
    };
    static_assert(sizeof(Entry) == 24, "Wine's GDI handle table entry");
#ifdef _WIN64
    const size_t kGdiSharedHandleTable = 0xF8;  // its offset in the PEB
#else
    const size_t kGdiSharedHandleTable = 0x94;
#endif
    using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
    const auto* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const Entry* const*>(peb + kGdiSharedHandleTable);
    if (!table) return -1;
    long n = 0;
    for (int i = 0; i < 0x10000; ++i) n += table[i].type != 0;
    return n;
}

size_t heapBytesInUse() {
    HANDLE heaps[256];
    DWORD count = GetProcessHeaps(256, heaps);
    size_t total = 0;
    for (DWORD h = 0; h < count && h < 256; ++h) {
        if (!HeapLock(heaps[h])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[h], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
        HeapUnlock(heaps[h]);
    }
    return total;
}

Resources measure() {
    Resources r;
    HANDLE self = GetCurrentProcess();
    r.gdiObjects = static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS));
    if (r.gdiObjects == 0 && underWine()) r.gdiObjects = wineGdiObjects();
    r.userObjects = static_cast<long>(GetGuiResources(self, GR_USEROBJECTS));
    DWORD handles = 0;
    GetProcessHandleCount(self, &handles);
    r.handles = static_cast<long>(handles);
    r.heapBytes = heapBytesInUse();
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(self, &memory, sizeof memory)) r.workingSet = memory.WorkingSetSize;
    return r;
}

class Soak : public PluginRun {
protected:
    void makeSongs() {
        std::string tree = dataPath("tree");
        CreateDirectoryA(tree.c_str(), nullptr);
        for (const char* sub : {"tree\\a", "tree\\b", "tree\\b\\c"}) CreateDirectoryA(dataPath(sub).c_str(), nullptr);
        writeIni("LyricsPath", tree + "\\");
        for (int i = 0; i < kSongs; ++i) {
            std::string stem = (i % 7 == 0 ? "歌" : "song") + std::to_string(i);
            std::string title = "Playlist title " + std::to_string(i);
            switch (i % 5) {
            case 0: writeData(stem + ".kra", lyricsFor(i, random)); break;
            case 1: writeData(stem + ".lrc", lyricsFor(i, random)); break;
            case 2:
                writeData(stem + ".mp3", std::string(500, '\0') + id3Block("ID3 title " + std::to_string(i)));
                break;
            case 3:
                writeData(std::string(i % 2 ? "tree\\b\\c\\" : "tree\\a\\") + stem + ".txt", lyricsFor(i, random));
                break;
            default:
                if (i % 10 == 4) writeData(stem + ".mp3", songWithLyrics3(lyricsFor(i, random)));
                break;  // else no file at all: the playlist title on the banner
            }
            addSong(dataPath(stem + ".mp3"), title);
        }
        for (int k = 0; k < kSkinFolders; ++k) {
            std::string folder = dataPath("hostskin" + std::to_string(k));
            CreateDirectoryA(folder.c_str(), nullptr);
            if (k + 1 < kSkinFolders)
                writeData("hostskin" + std::to_string(k) + "\\main.bmp",
                          bitmapFileBytes(Image(200 + 40 * k, 116, 0x203040u * (k + 1))));
        }
        Image skin(245, 18);
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 245; ++x) skin.at(x, y) = 0x404040u + static_cast<uint32_t>(x % 50) * 0x010203u + y;
        skinPath = writeData("skin.bmp", bitmapFileBytes(skin));
    }

    // After every tick: the held clock moves on as in play, and the next tick is asked for at once.
    void tickBackToBack() {
        player.setTimerJob([this] {
            if (advancing) {
                positionMs += 16;
                hold(positionMs);
            }
            if (HWND b = bar()) PostMessageA(b, WM_TIMER, 0, 0);
        });
    }

    void runTicks(long n) { ASSERT_TRUE(player.waitTicks(static_cast<int>(n), 60000)); }

    // The settings sheet: the skin bitmap, the bar's width and the background picked up from the
    // host skin, each applied at once by its page.
    void changeSettings(const std::string& skin, int width) {
        player.config();
        int seen = runSheet(1, [&](HWND sheet) {
            SetDlgItemTextA(sheetPage(sheet, kPathsPage), IDC_SKIN_PATH, skin.c_str());
            SetDlgItemTextA(sheetPage(sheet, kPositionPage), IDC_WIDTH_EDIT, std::to_string(width).c_str());
            SendMessageA(GetDlgItem(sheetPage(sheet, kColourPage), IDC_PICK_UP), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(seen, 1);
        ++sheets;
        tickBackToBack();
    }

    // The same state at both measurements: song 0 showing a line, the first host skin, the skin
    // bitmap, the default width.
    Resources settleAndMeasure() {
        changeSettings(skinPath, 245);
        select(0);
        withModel([&](HostModel& m) { m.setSkinFolder(dataPath("hostskin0")); });
        advancing = false;
        hold(3000);
        runTicks(200);
        return measure();
    }

    void randomStep() {
        switch (random() % 12) {
        case 0:
        case 1:
            select(static_cast<int32_t>(random() % (kSongs + 1)));  // one past the end: no such entry
            positionMs = static_cast<int32_t>(random() % 45000);
            advancing = true;
            break;
        case 2:
        case 3: positionMs = static_cast<int32_t>(random() % 45000); break;
        case 4:
            pause();
            advancing = false;
            break;
        case 5: advancing = true; break;
        case 6:
            stop();
            advancing = false;
            break;
        case 7:  // the host's own clock, in real time
            withModel([&](HostModel& m) { m.clock.seek(positionMs, nowMs()); });
            play();
            advancing = false;
            break;
        case 8: {
            int k = static_cast<int>(random() % (kSkinFolders + 1));
            std::string folder = k == kSkinFolders ? std::string() : dataPath("hostskin" + std::to_string(k));
            withModel([&](HostModel& m) { m.setSkinFolder(folder); });
            break;
        }
        case 9: sendDoubleClick(bar(), 5, 5); break;  // the next effect
        case 10:
            if (random() % 4 == 0) changeSettings(random() % 2 ? skinPath : "", random() % 2 ? 300 : 245);
            break;
        default:
            if (random() % 8 == 0) sendChar(bar(), 'h');  // back to 245 x 18, buffers unchanged
            break;
        }
    }

    std::mt19937 random{20240607};
    std::string skinPath;
    int sheets = 0;
    bool advancing = false;  // the held position moves on 16 ms a tick, as in play
    int32_t positionMs = 0;
};

}  // namespace

TEST_F(Soak, FiftySongsWithSeeksPausesStopsAndSkinChangesLeaveNothingBehind) {
    makeSongs();
    ASSERT_EQ(player.init(), 0);
    tickBackToBack();
    // Warming up: every kind of song, and the sheet, once.
    for (int i = 0; i < kSongs; i += 3) {
        select(i);
        positionMs = 2000 + i * 500;
        advancing = true;
        runTicks(40);
    }
    // The first sheet of a process fills caches of Wine's own (fonts, image lists) that a busy
    // machine sometimes leaves for later: that one does not count.
    player.config();
    ASSERT_EQ(runSheet(1), 1);
    tickBackToBack();
    runTicks(20);
    Resources start = settleAndMeasure();
    // Wine's property sheet keeps the icon it loads for its caption, three GDI objects a sheet
    // that are none of the plug-in's: a sheet that changes nothing tells what one leaves here.
    player.config();
    ASSERT_EQ(runSheet(1), 1);
    tickBackToBack();
    runTicks(20);
    const long perSheet = measure().gdiObjects - start.gdiObjects;
    EXPECT_LE(perSheet, 3);
    sheets = 1;

    const long startTicks = player.ticks();
    while (player.ticks() - startTicks < kSoakTicks && !HasFatalFailure()) {
        randomStep();
        runTicks(10 + static_cast<long>(random() % 70));
    }
    Resources end = settleAndMeasure();
    player.setTimerJob(nullptr);

    std::printf(
        "soak: %ld ticks, %d sheets; GDI objects %ld -> %ld, USER objects %ld -> %ld, handles %ld -> %ld, "
        "heap %zu -> %zu bytes, working set %zu -> %zu KB\n",
        player.ticks() - startTicks, sheets, start.gdiObjects, end.gdiObjects, start.userObjects, end.userObjects,
        start.handles, end.handles, start.heapBytes, end.heapBytes, start.workingSet / 1024, end.workingSet / 1024);
    player.watchModalWindows();
    EXPECT_TRUE(player.record.boxes.empty())
        << player.record.boxes.size() << " message boxes, the first: " << player.record.boxes[0].text;
    EXPECT_NE(start.gdiObjects, -1) << "no way to count GDI objects here";
    EXPECT_LE(end.gdiObjects, start.gdiObjects + perSheet * sheets + 2) << sheets << " sheets";
    EXPECT_LE(end.userObjects, start.userObjects + 2);
    EXPECT_LE(end.handles, start.handles + 4);
    EXPECT_LE(end.heapBytes, start.heapBytes + 512 * 1024);
    player.quit();
    EXPECT_FALSE(IsWindow(bar()));
}
